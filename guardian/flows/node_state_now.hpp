#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "core/node_state/node_state_merge.hpp"
#include "guardian/engine/guardian_engine.hpp"

namespace zvkob {

// The node's one state now, from its log and its RPC together (the rules of
// which decides what are merged_node_state's). None while nothing is known.
std::optional<MergedNodeState> node_state_shown(const GuardianEngine& engine,
                                                const GuardedProgram& program);
// The same for the node whose progress is followed.
std::optional<MergedNodeState> node_state_shown(const GuardianEngine& engine);

// The program whose node of this copy runs: the chosen one first.
GuardedProgram* running_node_program(GuardianEngine& engine);
const GuardedProgram* running_node_program(const GuardianEngine& engine);

// "asked 20 s ago", or "asked just now".
std::string asked_text(const NodeLife& life, std::int64_t now_ms);

}  // namespace zvkob
