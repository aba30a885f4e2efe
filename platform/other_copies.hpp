#pragma once
#include <cstdint>

#include "core/processes/copies_question.hpp"

namespace zvkob {

// The other open copies of ZV-KOB, each guarding a node of its own.
class OtherCopies {
public:
    virtual ~OtherCopies() = default;
    // Asks each other copy, with a short time-out, whether it holds the
    // process as its node; `folder_mark` marks this copy's data folder (0
    // when none is set), so that a copy holding it on the same folder says so.
    virtual CopiesAnswer who_holds(unsigned long process_id, std::uint32_t folder_mark) = 0;
    // Counts the news from other copies: one opened or closed, took a node
    // or let one go. What was judged before the count changed is judged again.
    virtual unsigned long news() const = 0;
    // Tells the other copies that this one took a node or let one go.
    virtual void tell_others() = 0;
};

}  // namespace zvkob
