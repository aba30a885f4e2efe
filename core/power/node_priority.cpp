#include "core/power/node_priority.hpp"

namespace zvkob {

NodePriority priority_at_start(bool ticked) {
    return ticked ? NodePriority::low : NodePriority::normal;
}

// A node created at normal priority needs nothing to stay normal.
std::optional<NodePriority> NodePriorityRule::update(const PriorityFacts& facts) {
    if (!facts.node_held || !facts.started_here) {
        return std::nullopt;
    }
    const NodePriority wanted = priority_at_start(facts.ticked);
    if (set_ == wanted || (!set_ && wanted == NodePriority::normal)) {
        return std::nullopt;
    }
    set_ = wanted;
    return wanted;
}

std::string NodePriorityRule::applied(NodePriority priority, const PrioritySet& set) const {
    const bool low = priority == NodePriority::low;
    const std::string change = low ? "lowered: " : "restored: ";
    if (!set.cpu && !set.io) {
        return std::string("ZV-KOB could not ") + (low ? "lower" : "restore") +
               " the node's priority: " + set.cpu.reason();
    }
    if (!set.io) {
        return std::string(low ? "The node runs at below-normal CPU priority"
                               : "The node runs at normal CPU priority again") +
               "; its I/O priority could not be " + change + set.io.reason();
    }
    if (!set.cpu) {
        return std::string(low ? "The node runs at low I/O priority"
                               : "The node runs at normal I/O priority again") +
               "; its CPU priority could not be " + change + set.cpu.reason();
    }
    return low ? "The node runs at low priority: below-normal CPU and low I/O."
               : "The node runs at normal priority again.";
}

}  // namespace zvkob
