#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "core/node_state/node_progress.hpp"
#include "core/node_rpc/rpc_reply.hpp"

namespace zvkob {

// With no connection for this long the node counts as stuck for want of peers.
inline constexpr std::int64_t no_peers_stuck_ms = 10 * 60'000;

// What the node says of its chain that the caller keeps for the disk's runway.
struct NodeChainFacts {
    std::string chain;  // "main", "test", ...
    std::optional<std::int64_t> size_on_disk;
    bool pruned = false;
};

// The tip to ask getblockheader for: the node's best block, when its
// getblockchaininfo answered without the tip's time (older versions, forks).
std::optional<std::string> tip_without_time(const RpcReply& chain);

// Works out the node's state from its answers to getblockchaininfo and
// getnetworkinfo (and getblockheader of its tip, where asked), keeping
// between answers what needs time: since when the node has had no peers, and
// when it was last seen to take a new block. Times come from the caller's clock.
//
// Synced only while the tip's block time is less than at_tip_block_age_ms
// old: "initialblockdownload" latches to false once and stays so, even after
// the PC slept for hours. Only where no tip time is told at all does the
// node's own estimate decide, and then not its latch alone.
class NodeRpcProgress {
public:
    // The node was (re)started: forget what was kept.
    void node_started() { *this = NodeRpcProgress(); }
    // The state from one set of answers, or none when they tell nothing
    // (busy, unreachable): the caller keeps the previous state.
    std::optional<NodeProgressState> update(const RpcReply& chain, const RpcReply& network,
                                            std::int64_t now_ms,
                                            const RpcReply* tip_header = nullptr);
    const NodeChainFacts& chain_facts() const { return facts_; }

private:
    NodeProgressState from_chain(const RpcReply& chain, const RpcReply* tip_header,
                                 std::int64_t now_ms);
    void take_peers(const RpcReply& network, NodeProgressState& state, std::int64_t now_ms);
    // When the node was seen to take a new block: a height above the highest before.
    void time_new_blocks(NodeProgressState& state, std::int64_t now_ms);

    std::optional<std::int64_t> no_peers_since_ms_;
    std::optional<std::int64_t> highest_;
    std::optional<std::int64_t> new_block_ms_;
    NodeChainFacts facts_;
};

}  // namespace zvkob
