#pragma once
#include "core/outcome.hpp"
#include "platform/held_process.hpp"

namespace zvkob {

// How much of the PC the node may take: normal, or low (below-normal CPU
// priority and low I/O priority), so that the user's own work comes first.
enum class NodePriority { normal, low };

// What setting a priority came to, for each of its two parts.
struct PrioritySet {
    Outcome cpu = Outcome::success();
    Outcome io = Outcome::success();
};

// The priority of a process this copy holds.
class ProcessPriority {
public:
    virtual ~ProcessPriority() = default;
    // Sets both parts on the very process held (never another that took its
    // number since).
    virtual PrioritySet set(const HeldProcess& process, NodePriority priority) = 0;
};

}  // namespace zvkob
