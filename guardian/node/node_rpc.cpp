#include "guardian/node/node_rpc.hpp"

#include <utility>

#include "core/node_state/node_progress_text.hpp"
#include "core/shown_text.hpp"

namespace zvkob {

RpcPoll poll_node_rpc(const RpcEndpoint& endpoint, std::string not_yet, bool ask_wallets,
                      NodeRpcAsker& asker, unsigned long node_id) {
    RpcPoll poll;
    poll.endpoint = endpoint;
    poll.not_yet = std::move(not_yet);
    if (!endpoint.available() || !poll.not_yet.empty()) {
        return poll;
    }
    poll.answers = asker.state(poll.endpoint, node_id);  // finds the port where none was named
    if (const auto tip = tip_without_time(poll.answers->chain)) {
        poll.tip_header = asker.block_header(poll.endpoint, node_id, *tip);
    }
    if (ask_wallets && poll.answers->chain.ok()) {
        poll.wallets = asker.list_wallets(poll.endpoint, node_id);
    }
    return poll;
}

void NodeRpc::follow(unsigned long node_id, std::int64_t now_ms) {
    if (node_id == node_id_) {
        return;
    }
    forget();
    node_id_ = node_id;
    if (node_id != 0) {
        schedule_.node_running(now_ms);
    }
}

// The ticket goes on counting, so that a poll still on its way is dropped.
void NodeRpc::forget() {
    const std::uint64_t ticket = ticket_ + 1;
    *this = NodeRpc();
    ticket_ = ticket;
}

bool NodeRpc::due(std::int64_t now_ms) const {
    return node_id_ != 0 && !asking_ && schedule_.due(now_ms);
}

std::uint64_t NodeRpc::asking(std::int64_t now_ms) {
    asking_ = true;
    asked_ms_ = now_ms;
    return ++ticket_;
}

const NodeProgressState* NodeRpc::state_shown(std::int64_t now_ms) const {
    return busy_too_long(now_ms) ? nullptr : state();
}

RpcNews NodeRpc::take(std::uint64_t ticket, const RpcPoll& poll, std::int64_t now_ms,
                      int utc_offset_minutes) {
    RpcNews news;
    if (ticket != ticket_ || !asking_) {
        return news;  // asked of a node no longer followed
    }
    asking_ = false;
    if (!poll.endpoint.available()) {
        no_rpc(poll, news);
        return news;
    }
    if (!poll.answers) {
        why_not_ = poll.not_yet;  // nothing failed: asked again in five seconds
        schedule_.answered(asked_ms_);
        return news;
    }
    const RpcReply& chain = poll.answers->chain;
    if (chain.failure() == RpcFailure::busy) {
        busy(chain, now_ms, utc_offset_minutes);
        schedule_.failed(now_ms);
        return news;
    }
    busy_since_ms_.reset();
    const std::optional<NodeProgressState> state = progress_.update(
        chain, poll.answers->network, now_ms, poll.tip_header ? &*poll.tip_header : nullptr);
    if (!state) {
        failed(chain, news);
        schedule_.failed(now_ms);
        return news;
    }
    schedule_.answered(asked_ms_);  // five seconds between two questions, however long the answer
    take_state(poll, *state, news);
    state_poll_ = ticket;
    return news;
}

// The node is there but its work queue is full: its last state stands for a
// while, then the log's (a warm-up is never busy: it answers -28).
void NodeRpc::busy(const RpcReply& reply, std::int64_t now_ms, int utc_offset_minutes) {
    why_not_ = reply.describe();
    if (!busy_since_ms_) {
        busy_since_ms_ = now_ms;
        busy_since_ = "the node's RPC is busy since " + clock_text(now_ms, utc_offset_minutes);
    }
}

// Nothing to ask until the node runs again: everything comes from its log.
void NodeRpc::no_rpc(const RpcPoll& poll, RpcNews& news) {
    if (no_rpc_.empty()) {
        news.events.push_back("The node's RPC is off (" + poll.endpoint.no_rpc +
                              "): ZV-KOB follows its progress from its log.");
    }
    no_rpc_ = poll.endpoint.no_rpc;
    state_.reset();
    past_warm_up_ = false;
    schedule_.stop_asking();
}

// The log's state is shown again until the node answers.
void NodeRpc::failed(const RpcReply& reply, RpcNews& news) {
    why_not_ = reply.describe();
    state_.reset();
    past_warm_up_ = false;
    if (reply.failure() == RpcFailure::refused_credentials && !told_refused_) {
        told_refused_ = true;
        news.events.push_back("The node's RPC: " + why_not_ +
                              "; ZV-KOB follows its progress from its log.");
    }
}

void NodeRpc::take_state(const RpcPoll& poll, const NodeProgressState& state, RpcNews& news) {
    if (!told_answering_) {
        told_answering_ = true;
        news.events.push_back("The node's RPC answers on port " +
                              std::to_string(poll.endpoint.port) +
                              ": ZV-KOB shows the node's progress from it.");
    }
    warnings_ = state.warning;
    past_warm_up_ = state.condition != NodeCondition::starting;
    if (poll.wallets) {
        wallets_asked_ms_ = asked_ms_;
        wallets_ = poll.wallets->ok()
                       ? poll.wallets->result().texts().value_or(std::vector<std::string>{})
                       : std::vector<std::string>{};
    }
    why_not_.clear();
    endpoint_ = poll.endpoint;
    state_ = state;
}

std::string NodeRpc::log_source_line(std::int64_t now_ms) const {
    if (!no_rpc_.empty()) {
        return "the node's RPC is off: progress from its log (" + no_rpc_ + ")";
    }
    if (busy_too_long(now_ms)) {
        return "From the node's log; " + busy_since_;
    }
    if (!why_not_.empty()) {
        return "From the node's log; its RPC: " + shown_text(why_not_, tooltip_line_characters);
    }
    return "From the node's log";
}

}  // namespace zvkob
