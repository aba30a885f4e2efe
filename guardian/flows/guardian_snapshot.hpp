#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/node_state/node_state_merge.hpp"
#include "guardian/engine/guardian_engine.hpp"

namespace zvkob {

// What the guardian has to show of one program: the lines of its status
// label's tooltip, from its node's one state to why the node is not held.
struct ProgramSnapshot {
    std::string tip;
    // While this copy's node of it is asked to stop, else empty:
    // "Stopping: asked 20 s ago. ZV-KOB waits; ...".
    std::string stopping_tip;
};

// What the guardian shows, worked out once per look from its state alone:
// the window paints it beside what is its own (the countdown, Auto Close),
// and a guardian with no window could tell it otherwise.
struct GuardianSnapshot {
    ProgramSnapshot qt;
    ProgramSnapshot daemon;
    std::vector<std::string> checking;  // what the worker checks now: "the node's log"
    // The followed node's one state, while Show the Node's Progress is on.
    std::optional<MergedNodeState> followed;
    bool query_fails = false;  // the process query fails for either program
    bool a_program_runs = false;
    bool session_ending = false;
};

GuardianSnapshot guardian_snapshot(const GuardianEngine& engine, std::int64_t now_ms);

}  // namespace zvkob
