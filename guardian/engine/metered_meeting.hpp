#pragma once
#include <cstdint>
#include <optional>

#include "core/node_rpc/rpc_endpoint.hpp"
#include "guardian/engine/guard_actions.hpp"
#include "guardian/power/metered_guard.hpp"

namespace zvkob {

// What the metered pause sees of the window and of this copy's node's RPC.
struct MeteredScene {
    bool ticked = false;                  // Pause the Node's Network on Metered Links
    bool state_followed = false;          // Show the Node's Progress
    bool node_runs = false;               // this copy's node runs (the chosen program's first)
    NodeRun run;                          // which run of it (id 0 for none)
    bool node_answers = false;            // its RPC answered, past its warm-up
    std::uint64_t state_poll = 0;         // the poll whose state is held, 0 for none
    std::uint64_t polls_asked = 0;        // the node's RPC polls asked by now
    std::optional<bool> network_active;   // the held state's networkactive
    std::optional<RpcEndpoint> endpoint;  // where its RPC answers now, while it answers
};

// Where the metered pause meets the others, decided in one place:
// - the node's RPC polls: only a state read by a poll asked after the
//   answer to ZV-KOB's last call counts (metered_guard.hpp); a poll on its
//   way, or a state kept through "busy" replies, is unknown;
// - Show the Node's Progress: cleared, nothing tells the node's state any
//   more, so ZV-KOB's pause is resumed where the node last answered (where
//   ZV-KOB last called it);
// - a node whose RPC is not known is never called: the rule hears that
//   nothing was asked.

// On the watcher's tick: the node of now, then a look at the link when due.
GuardActions metered_tick(MeteredGuard& metered, const MeteredScene& scene, std::int64_t now_ms);

}  // namespace zvkob
