#pragma once

namespace zvkob {

// What the other open copies of ZV-KOB say about a process.
enum class CopiesAnswer {
    none_holds_it,     // no other copy holds it as its node (or no other copy is open)
    another_holds_it,  // it is another copy's node
    one_did_not_answer,
};

// The other open copies of ZV-KOB, each guarding a node of its own.
class OtherCopies {
public:
    virtual ~OtherCopies() = default;
    // Asks each other copy, with a short time-out, which node it holds.
    virtual CopiesAnswer who_holds(unsigned long process_id) = 0;
};

}  // namespace zvkob
