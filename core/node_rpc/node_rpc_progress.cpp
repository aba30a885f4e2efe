#include "core/node_rpc/node_rpc_progress.hpp"

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

std::optional<std::string> tip_without_time(const RpcReply& chain) {
    if (!chain.ok() || chain.result().member("time").present()) {
        return std::nullopt;
    }
    return chain.result().member("bestblockhash").text();
}

std::optional<NodeProgressState> NodeRpcProgress::update(const RpcReply& chain,
                                                         const RpcReply& network,
                                                         std::int64_t now_ms,
                                                         const RpcReply* tip_header) {
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
    NodeProgressState state = from_chain(chain, tip_header, now_ms);
    take_peers(network, state, now_ms);
    time_new_blocks(state, now_ms);
    state.warning = warnings_of(chain, network);
    return state;
}

NodeProgressState NodeRpcProgress::from_chain(const RpcReply& chain, const RpcReply* tip_header,
                                              std::int64_t now_ms) {
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
    std::optional<std::int64_t> tip_time = result.member("time").whole_number();
    if (!tip_time && tip_header != nullptr && tip_header->ok()) {
        tip_time = tip_header->result().member("time").whole_number();
    }
    if (tip_time) {
        state.tip_utc_ms = *tip_time * 1000;
        state.behind_ms = std::max<std::int64_t>(0, now_ms - *state.tip_utc_ms);
        state.condition = *state.behind_ms < at_tip_block_age_ms ? NodeCondition::synced
                                                                 : NodeCondition::catching_up;
        return state;
    }
    const bool in_ibd = result.member("initialblockdownload").flag().value_or(true);
    const bool estimated_done = state.sync_progress.value_or(0.0) >= synced_progress;
    state.condition =
        !in_ibd && estimated_done ? NodeCondition::synced : NodeCondition::catching_up;
    return state;
}

void NodeRpcProgress::take_peers(const RpcReply& network, NodeProgressState& state,
                                 std::int64_t now_ms) {
    state.network_active =
        network.ok() ? network.result().member("networkactive").flag() : std::nullopt;
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

void NodeRpcProgress::time_new_blocks(NodeProgressState& state, std::int64_t now_ms) {
    if (state.height) {
        // The first answer's tip came some time before: it is not seen coming.
        if (highest_ && *state.height > *highest_) {
            new_block_ms_ = now_ms;
        }
        highest_ = std::max(highest_.value_or(*state.height), *state.height);
    }
    state.new_block_ms = new_block_ms_;
}

}  // namespace zvkob
