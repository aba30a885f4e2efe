#pragma once
#include "guardian/engine/guardian_engine.hpp"

namespace zvkob {

// This copy's node of `program` has gone, with what the watcher knows of its
// end: the node's life has taken the end already; then its left interpreter
// is ended, then Keep Node Running decides (it may arm the countdown), and
// the display follows.
void this_copys_node_gone(GuardianEngine& engine, GuardedProgram& program, const NodeGone& gone);

}  // namespace zvkob
