#include "core/node_rpc_progress.hpp"

#include <algorithm>
#include <array>
#include <string_view>

namespace zvkob {
namespace {

struct KnownPhase {
    std::string_view begins;
    StartPhase phase;
};

// The node's warm-up messages in English; another language stays "opening".
constexpr std::array<KnownPhase, 5> known_phases{{
    {"Loading", StartPhase::loading},
    {"Verifying", StartPhase::verifying},
    {"Rescanning", StartPhase::rescanning},
    {"Pruning", StartPhase::pruning},
    {"Reindexing", StartPhase::reindexing},
}};

StartPhase phase_of(std::string_view message) {
    for (const KnownPhase& known : known_phases) {
        if (message.starts_with(known.begins)) {
            return known.phase;
        }
    }
    return StartPhase::opening;
}

std::string joined(const std::vector<std::string>& texts) {
    std::string result;
    for (const std::string& text : texts) {
        if (!text.empty()) {
            result += (result.empty() ? "" : "; ") + text;
        }
    }
    return result;
}

std::string warnings_of(const RpcReply& chain, const RpcReply& network) {
    std::vector<std::string> all;
    for (const RpcReply* reply : {&chain, &network}) {
        if (!reply->ok()) {
            continue;
        }
        for (std::string& text :
             reply->result().member("warnings").texts().value_or(std::vector<std::string>{})) {
            if (!text.empty() && std::find(all.begin(), all.end(), text) == all.end()) {
                all.push_back(std::move(text));
            }
        }
    }
    return joined(all);
}

}  // namespace

std::optional<NodeProgressState> NodeRpcProgress::update(const RpcReply& chain,
                                                         const RpcReply& network,
                                                         std::int64_t now_ms) {
    if (chain.failure() == RpcFailure::warming_up) {
        NodeProgressState state;
        state.condition = NodeCondition::starting;
        state.phase = phase_of(chain.message());
        state.detail = chain.message();  // shown as the node gives it
        return state;
    }
    if (!chain.ok()) {
        return std::nullopt;
    }
    NodeProgressState state = from_chain(chain, now_ms);
    take_peers(network, state, now_ms);
    time_the_catch_up(state, now_ms);
    state.warning = warnings_of(chain, network);
    return state;
}

NodeProgressState NodeRpcProgress::from_chain(const RpcReply& chain, std::int64_t now_ms) {
    const JsonValue result = chain.result();
    facts_.chain = result.member("chain").text().value_or("");
    facts_.size_on_disk = result.member("size_on_disk").whole_number();
    facts_.pruned = result.member("pruned").flag().value_or(false);

    NodeProgressState state;
    state.height = result.member("blocks").whole_number();
    state.header_height = result.member("headers").whole_number();
    if (const auto progress = result.member("verificationprogress").number()) {
        state.sync_progress = std::clamp(*progress, 0.0, 1.0);
    }
    if (const auto time = result.member("time").whole_number()) {
        state.behind_ms = std::max<std::int64_t>(0, now_ms - *time * 1000);
    }
    const bool in_ibd = result.member("initialblockdownload").flag().value_or(true);
    const bool at_tip = state.behind_ms && *state.behind_ms < at_tip_block_age_ms;
    state.condition = !in_ibd || at_tip ? NodeCondition::synced : NodeCondition::catching_up;
    return state;
}

void NodeRpcProgress::take_peers(const RpcReply& network, NodeProgressState& state,
                                 std::int64_t now_ms) {
    const auto connections =
        network.ok() ? network.result().member("connections").whole_number() : std::nullopt;
    if (!connections) {
        return;  // not told: neither starts nor ends a spell without peers
    }
    state.peers = connections;
    if (state.peers > 0) {
        no_peers_since_ms_.reset();
        return;
    }
    if (!no_peers_since_ms_) {
        no_peers_since_ms_ = now_ms;
    }
    const std::int64_t quiet = std::max<std::int64_t>(0, now_ms - *no_peers_since_ms_);
    if (quiet >= no_peers_stuck_ms) {
        state.condition = NodeCondition::stuck;
        state.stuck_reason = StuckReason::no_peers;
        state.quiet_since_utc_ms = *no_peers_since_ms_;
        state.quiet_ms = quiet;
    }
}

// The first synced state still carries how long the catch-up took.
void NodeRpcProgress::time_the_catch_up(NodeProgressState& state, std::int64_t now_ms) {
    if (state.condition == NodeCondition::catching_up && !catching_up_since_ms_) {
        catching_up_since_ms_ = now_ms;
    }
    if (catching_up_since_ms_) {
        state.catching_up_ms = std::max<std::int64_t>(0, now_ms - *catching_up_since_ms_);
    }
    if (state.condition == NodeCondition::synced) {
        catching_up_since_ms_.reset();
    }
}

}  // namespace zvkob
