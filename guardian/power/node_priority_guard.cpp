#include "guardian/power/node_priority_guard.hpp"

namespace zvkob {

void NodePriorityGuard::follow(const HeldProcess* node, bool started_here, bool ticked) {
    const unsigned long id = node == nullptr ? 0 : node->id();
    if (id != node_id_) {
        node_id_ = id;
        rule_.node_started();  // each run of the node is set, and told, afresh
    }
    const std::optional<NodePriority> wanted = rule_.update(
        {.ticked = ticked, .node_held = node != nullptr, .started_here = started_here});
    if (wanted) {
        history_.record(rule_.applied(*wanted, priority_.set(*node, *wanted)));
    }
}

}  // namespace zvkob
