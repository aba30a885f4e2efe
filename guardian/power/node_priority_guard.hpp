#pragma once
#include "core/power/node_priority.hpp"
#include "platform/held_process.hpp"
#include "platform/history.hpp"
#include "platform/process_priority.hpp"

namespace zvkob {

// Run the Node at Low Priority, on the guardian's side: sets the priority the
// rule asks for on this copy's held node, and tells the history what setting
// it came to, once per change and run.
class NodePriorityGuard {
public:
    NodePriorityGuard(ProcessPriority& priority, History& history)
        : priority_(priority), history_(history) {}

    // This copy's node as held now (null while none is), whether this copy
    // started it, and the tick.
    void follow(const HeldProcess* node, bool started_here, bool ticked);

private:
    ProcessPriority& priority_;
    History& history_;
    NodePriorityRule rule_;
    unsigned long node_id_ = 0;
};

}  // namespace zvkob
