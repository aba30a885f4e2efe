#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "core/node_progress.hpp"
#include "core/rpc_reply.hpp"

namespace zvkob {

// With no connection for this long the node counts as stuck for want of peers.
inline constexpr std::int64_t no_peers_stuck_ms = 10 * 60'000;

// What the node says of its chain that the caller keeps for the disk's runway.
struct NodeChainFacts {
    std::string chain;  // "main", "test", ...
    std::optional<std::int64_t> size_on_disk;
    bool pruned = false;
};

// Works out the node's state from its answers to getblockchaininfo and
// getnetworkinfo, keeping between answers what needs time (since when the
// node has had no peers). Times come from the caller's clock.
class NodeRpcProgress {
public:
    // The node was (re)started: forget what was kept.
    void node_started() { *this = NodeRpcProgress(); }
    // The state from one pair of answers, or none when they tell nothing
    // (busy, unreachable): the caller keeps the previous state.
    std::optional<NodeProgressState> update(const RpcReply& chain, const RpcReply& network,
                                            std::int64_t now_ms);
    const NodeChainFacts& chain_facts() const { return facts_; }

private:
    NodeProgressState from_chain(const RpcReply& chain, std::int64_t now_ms);
    void take_peers(const RpcReply& network, NodeProgressState& state, std::int64_t now_ms);
    // How long catching up has taken, for "caught up after 5 h 12 min".
    void time_the_catch_up(NodeProgressState& state, std::int64_t now_ms);

    std::optional<std::int64_t> no_peers_since_ms_;
    std::optional<std::int64_t> catching_up_since_ms_;
    NodeChainFacts facts_;
};

}  // namespace zvkob
