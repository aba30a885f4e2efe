#pragma once
#include <cstdint>
#include <optional>

#include "core/node_state/node_progress_state.hpp"

namespace zvkob {

// The node's one state, from its log and its RPC together.
struct MergedNodeState {
    NodeProgressState state;
    bool from_rpc = false;     // the RPC answered: its figures are in it
    bool log_decides = false;  // the condition is the log's verdict, which the RPC cannot see
};

// Which source decides what, in this order, as of `now_ms`:
//  1. Needs attention and stopping are the log's: the RPC tells neither an
//     error line, a block that fails again and again or a thread that died,
//     nor a shutdown under way.
//  2. The node's warm-up is its RPC's: "starting" with the node's own message
//     however long it takes. A reindex the log tells of also stays "starting":
//     the RPC answers during it, but has no word for it.
//  3. Stuck from the log (no new block, no line) holds while the RPC answers,
//     unless the RPC saw the node take a new block after the quiet began;
//     stuck from the RPC (no peers) holds.
//  4. Otherwise the tip's age decides: synced only while the tip's block time
//     is less than at_tip_block_age_ms old, the tip's time being the RPC's
//     (getblockchaininfo's time, else getblockheader's of its best block),
//     else the log's UpdateTip date. Without any tip time the RPC's own
//     estimate decides, else the log's verdict; "initialblockdownload" false
//     alone never means synced.
//  5. A network the node reports paused (getnetworkinfo's networkactive
//     false; ZV-KOB pauses it on metered links) decides over every stuck
//     verdict, the log's and the RPC's, and over synced and catching up: a
//     paused node has no peers and takes no blocks by design, so it is
//     neither stuck nor catching up for ever; it shows "Network paused", and
//     Keep the PC Awake lets the PC sleep. Needs attention, stopping and the
//     warm-up still decide over it.
// Heights, headers, the node's progress, peers and warnings are the RPC's
// where it answered, else the log's; the last new block is the later one
// either saw (the log's only once it has read as far as the RPC's tip).
// None while neither source has a state.
std::optional<MergedNodeState> merged_node_state(const NodeProgressState* from_log,
                                                 const NodeProgressState* from_rpc,
                                                 std::int64_t now_ms);

}  // namespace zvkob
