#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "core/node_log/node_stop_verdict.hpp"
#include "guardian/engine/guard_actions.hpp"
#include "guardian/guardian.hpp"
#include "guardian/node/node_of_this_copy.hpp"

namespace zvkob {

// A node that ends this soon after this copy started it has failed to start.
inline constexpr std::int64_t failed_start_within_ms = 10'000;

// What the guardian sees of the window and of this copy's node that has gone.
struct NodeGoneScene {
    bool chosen = false;  // its program is the one ticked to start
    NodeStage stage = NodeStage::not_running;
    std::int64_t since_ms = 0;  // when the node's life entered its stage
    StopCause cause = StopCause::not_judged;
    bool session_ending = false;
    bool closing = false;  // ZV-KOB closes
};

// Where this copy's node's end meets the features, decided in one place:
// 1. a stop that is not the node's own doing, or that ZV-KOB caused (asked
//    by ZV-KOB, while Windows ends the session, while ZV-KOB closes), is
//    left alone and never explained as a failed start;
// 2. without Keep Node Running, a node whose interpreter ZV-KOB held that
//    ended right after its start is explained from its log;
// 3. Keep Node Running decides only on the node's state of now and only for
//    the stop it was read for, known by the moment the node's life took it:
//    a node started again and stopped once more while the log's answer
//    waited (behind a box, or a slow drive) is judged by its own log, never
//    by its run before's, which has no shutdown line after a crash and would
//    start it again.

// Why the node's stop is someone else's, for the history, or nullptr.
const char* stopped_by_others(const NodeGoneScene& scene);

// Whether its end is read as a start that failed at once (rule 2).
bool explain_as_failed_start(const Guardian& guardian, const NodeGoneScene& scene,
                             const NodeGone& gone);

// Whether Keep Node Running still decides on the stop taken at `stopped_ms`.
bool still_to_decide(const Guardian& guardian, const NodeGoneScene& scene, std::int64_t stopped_ms);

// The node's life's verdict on a stop its log told.
StopCause cause_of(const NodeStop& stop);

// Keep Node Running's decision once the log was read, as actions.
GuardActions keep_running_decision(KeepNodeRunning& keeper, const GoneNode& node,
                                   const NodeStop& stop,
                                   const std::function<std::optional<std::string>()>& held_back);

// The tick was switched: a restart it armed goes with it.
GuardActions keep_running_switched(KeepNodeRunning& keeper, bool on);

}  // namespace zvkob
