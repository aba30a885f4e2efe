#pragma once
#include <optional>
#include <string>

#include "platform/process_priority.hpp"

namespace zvkob {

// What the rule hears: the tick, and this copy's node as it holds it.
struct PriorityFacts {
    bool ticked = false;        // Run the Node at Low Priority
    bool node_held = false;     // this copy's node is found and held
    bool started_here = false;  // this copy started it (it was not adopted)
};

// The class the interpreter that runs the node's batch file is created
// with: on Windows the node inherits a below-normal class from it, so it
// never runs a moment at normal priority.
NodePriority priority_at_start(bool ticked);

// Run the Node at Low Priority: a node this copy starts gets the low
// priority as soon as it is held (wine ignores the interpreter's class, and
// Windows gives no low I/O priority by inheritance); ticking it while the
// node runs lowers it at once, clearing it restores normal. An adopted node
// is left as it is, whatever the tick. Each change is set once, failed or
// not, and told once.
class NodePriorityRule {
public:
    // What to set on the held node now, if anything.
    std::optional<NodePriority> update(const PriorityFacts& facts);
    // What setting it came to: the history line.
    std::string applied(NodePriority priority, const PrioritySet& set) const;
    // This copy's node started a new run (or another node is held).
    void node_started() { set_.reset(); }

private:
    std::optional<NodePriority> set_;  // what was set on this run's node
};

}  // namespace zvkob
