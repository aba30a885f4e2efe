#include "core/node_state/node_state_merge.hpp"

#include <algorithm>

namespace zvkob {
namespace {

std::int64_t since(std::int64_t moment, std::int64_t now_ms) {
    return std::max<std::int64_t>(0, now_ms - moment);
}

bool is(const NodeProgressState* state, NodeCondition condition) {
    return state != nullptr && state->condition == condition;
}

bool tells_chain(const NodeProgressState& state) {
    return state.condition == NodeCondition::synced ||
           state.condition == NodeCondition::catching_up;
}

// The verdicts on the node's chain, which a paused network decides over.
bool chain_verdict(const NodeProgressState& state) {
    return tells_chain(state) || state.condition == NodeCondition::stuck;
}

// The log's stuck still holds: the RPC saw no new block since the quiet began.
bool log_stuck_holds(const NodeProgressState& log, const NodeProgressState* rpc) {
    return rpc == nullptr || !rpc->new_block_ms || *rpc->new_block_ms <= log.quiet_since_utc_ms;
}

// The source whose verdict is shown, and whether it is the log's.
const NodeProgressState& verdict_of(const NodeProgressState* log, const NodeProgressState* rpc,
                                    bool& log_decides) {
    log_decides = rpc == nullptr;
    if (is(log, NodeCondition::needs_attention) || is(log, NodeCondition::stopping)) {
        log_decides = true;
        return *log;
    }
    if (is(rpc, NodeCondition::starting)) {
        return *rpc;
    }
    const bool log_reindexes =
        is(log, NodeCondition::starting) && log->phase == StartPhase::reindexing;
    if ((log_reindexes || is(log, NodeCondition::stuck)) &&
        (log->condition != NodeCondition::stuck || log_stuck_holds(*log, rpc))) {
        log_decides = true;
        return *log;
    }
    return rpc != nullptr ? *rpc : *log;
}

// The RPC's figures where it told them.
void take_figures(NodeProgressState& state, const NodeProgressState& rpc) {
    state.height = rpc.height ? rpc.height : state.height;
    state.header_height = rpc.header_height ? rpc.header_height : state.header_height;
    state.sync_progress = rpc.sync_progress ? rpc.sync_progress : state.sync_progress;
    state.peers = rpc.peers;
    state.network_active = rpc.network_active;
    state.warning = rpc.warning;
}

// The log has read as far as the RPC's tip: its last new block is the tip's.
bool log_has_the_tip(const NodeProgressState& log, const NodeProgressState& rpc) {
    return log.height && (!rpc.height || *log.height >= *rpc.height);
}

std::optional<std::int64_t> later(std::optional<std::int64_t> a, std::optional<std::int64_t> b) {
    return a && b ? std::max(*a, *b) : a ? a : b;
}

// Synced or catching up by the tip's age now, where its time is known.
void judge_tip_age(NodeProgressState& state, std::int64_t now_ms) {
    if (!state.tip_utc_ms) {
        return;
    }
    state.behind_ms = since(*state.tip_utc_ms, now_ms);
    if (tells_chain(state)) {
        state.condition = *state.behind_ms < at_tip_block_age_ms ? NodeCondition::synced
                                                                 : NodeCondition::catching_up;
    }
}

}  // namespace

std::optional<MergedNodeState> merged_node_state(const NodeProgressState* from_log,
                                                 const NodeProgressState* from_rpc,
                                                 std::int64_t now_ms) {
    if (from_log == nullptr && from_rpc == nullptr) {
        return std::nullopt;
    }
    MergedNodeState merged;
    merged.from_rpc = from_rpc != nullptr;
    merged.state = verdict_of(from_log, from_rpc, merged.log_decides);
    NodeProgressState& state = merged.state;
    if (from_rpc != nullptr) {
        take_figures(state, *from_rpc);
        state.tip_utc_ms = from_rpc->tip_utc_ms;
    }
    if (from_log != nullptr) {
        state.tip_utc_ms = state.tip_utc_ms ? state.tip_utc_ms : from_log->tip_utc_ms;
        state.new_block_ms =
            from_rpc == nullptr || log_has_the_tip(*from_log, *from_rpc)
                ? later(from_log->new_block_ms, from_rpc ? from_rpc->new_block_ms : std::nullopt)
                : from_rpc->new_block_ms;
    }
    judge_tip_age(state, now_ms);
    if (from_rpc != nullptr && from_rpc->network_active == false && chain_verdict(state)) {
        state.condition = NodeCondition::network_paused;
        merged.log_decides = false;
    }
    if (state.new_block_ms) {
        state.last_block_ago_ms = since(*state.new_block_ms, now_ms);
    }
    if (state.condition == NodeCondition::stuck) {
        state.quiet_ms = since(state.quiet_since_utc_ms, now_ms);
    }
    return merged;
}

}  // namespace zvkob
