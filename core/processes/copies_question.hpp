#pragma once
#include <cstdint>
#include <optional>

namespace zvkob {

// What the other open copies of ZV-KOB say about a process.
enum class CopiesAnswer {
    none_holds_it,          // no other copy holds it as its node (or no other copy is open)
    another_holds_it,       // it is another copy's node, on another data folder
    another_holds_it_here,  // it is another copy's node, on this copy's data folder
    one_did_not_answer,
};

// Copies of ZV-KOB ask one another's main windows which node each holds. The
// question carries a process number and the asker's folder mark (see
// folder_mark; 0 when it has no data folder set). A copy that does not hold
// the process answers 0; one that holds it answers the process number, or
// the number with every bit turned over when both marks are the same
// (earlier copies answer the number alone, which still reads as "held").
std::uint32_t holder_answer(unsigned long process_id, std::optional<std::uint32_t> held_with_mark,
                            std::uint32_t asker_mark);

// One copy's reply as the asker got it.
struct CopyReply {
    bool delivered = false;      // the copy answered in time
    bool access_denied = false;  // Windows kept the question from it (an elevated copy)
    bool window_remains = true;  // its window is still there (one that closed holds nothing)
    std::uint64_t value = 0;
};

// What one reply says. A question Windows kept from a copy counts as "not
// held by that copy": asking again would be refused again, and a copy that
// waited for it would never adopt its own node.
CopiesAnswer reply_meaning(const CopyReply& reply, unsigned long process_id);

}  // namespace zvkob
