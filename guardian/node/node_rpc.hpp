#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/node_state/node_progress.hpp"
#include "core/node_rpc/node_rpc_asker.hpp"
#include "core/node_rpc/node_rpc_progress.hpp"
#include "core/care/node_warnings.hpp"
#include "core/node_rpc/rpc_poll_schedule.hpp"

namespace zvkob {

// A node that answered nothing but "busy" (HTTP 503) for this long is
// followed by its log again: its last answer has grown old.
inline constexpr std::int64_t rpc_busy_for_log_ms = 5 * 60'000;

// What one poll of the node's RPC brought back from the worker.
struct RpcPoll {
    RpcEndpoint endpoint;                   // where it was asked, or why it was not
    std::string not_yet;                    // not asked yet: why
    std::optional<NodeRpcAnswers> answers;  // none when there is no RPC to ask
    std::optional<RpcReply> tip_header;     // getblockheader of its tip, when it told no time
    std::optional<RpcReply> wallets;        // listwallets, when asked and the node answers
};

// On the worker: asks the node for its state (and its tip's header where its
// chain's answer has no time), and its wallets too when `ask_wallets` and it
// answers; nothing while there is `not_yet` a reason to wait.
RpcPoll poll_node_rpc(const RpcEndpoint& endpoint, std::string not_yet, bool ask_wallets,
                      NodeRpcAsker& asker, unsigned long node_id);

// What changed with a poll's answers about the RPC itself, for the history.
// Changes of the node's state are told from its one state, log and RPC together.
struct RpcNews {
    std::vector<std::string> events;
};

// What this copy knows of its node from the node's own RPC, on the window's
// thread: when to ask next (one poll at a time), the node's last state and
// chain facts, its loaded wallets and its warnings, and why it is not asked.
// A poll that comes back for a node no longer followed is dropped.
class NodeRpc {
public:
    // The node followed from now on: what was known of another is forgotten.
    void follow(unsigned long node_id, std::int64_t now_ms);
    // Its progress is no longer shown, or it has gone: nothing is asked.
    void forget();
    unsigned long node_id() const { return node_id_; }

    // Whether a poll may go now: one is due and none is on its way.
    bool due(std::int64_t now_ms) const;
    // The PC woke: the node is asked again at once, if it is asked at all.
    void ask_now(std::int64_t now_ms) { schedule_.ask_now(now_ms); }
    // A poll goes now; its answers are taken with this ticket.
    std::uint64_t asking(std::int64_t now_ms);
    // The polls asked so far, and whether one is on its way.
    std::uint64_t polls_asked() const { return ticket_; }
    bool polling() const { return asking_; }
    // The poll whose answer state() holds (0 for none): a state kept through
    // "busy" replies is as old as this poll, however many were asked since.
    std::uint64_t state_poll() const { return state_ ? state_poll_ : 0; }
    // Whether the poll asks for the loaded wallets too: at first, then once a minute.
    bool wallets_due(std::int64_t now_ms) const {
        return !wallets_asked_ms_ || now_ms - *wallets_asked_ms_ >= wallets_interval_ms;
    }
    // Takes a poll's answers; `utc_offset_minutes` is the local clock's now.
    RpcNews take(std::uint64_t ticket, const RpcPoll& poll, std::int64_t now_ms,
                 int utc_offset_minutes);

    // The node's state from its RPC while it answers (warming up included),
    // else none.
    const NodeProgressState* state() const { return state_ ? &*state_ : nullptr; }
    // The same, unless the node has answered nothing but "busy" for
    // rpc_busy_for_log_ms: the log's state alone is shown then.
    const NodeProgressState* state_shown(std::int64_t now_ms) const;
    // It answered its last poll past its warm-up: a stop can go by RPC.
    bool answers() const { return state_.has_value() && past_warm_up_; }
    // `stop` went to it: its windows may go as it stops, not because they were closed.
    void stop_sent() { stop_sent_ = true; }
    bool was_sent_stop() const { return stop_sent_; }

    // The tooltip's line when the progress shown comes from the node's log:
    // why not from its RPC, where that is worth saying.
    std::string log_source_line(std::int64_t now_ms) const;
    // Where the node answered last: a stop or a wallet's backup goes there.
    const RpcEndpoint& endpoint() const { return endpoint_; }

    // For the care features, as of the last answer: the chain, its size on
    // disk and whether it is pruned; the names of the loaded wallets; the
    // node's own warnings ("; " between two), or empty.
    const NodeChainFacts& chain_facts() const { return progress_.chain_facts(); }
    const std::vector<std::string>& wallets() const { return wallets_; }
    bool answers_with_wallets() const { return answers() && !wallets_.empty(); }
    const std::string& warnings() const { return warnings_; }

private:
    static constexpr std::int64_t wallets_interval_ms = 60'000;

    void no_rpc(const RpcPoll& poll, RpcNews& news);
    void busy(const RpcReply& reply, std::int64_t now_ms, int utc_offset_minutes);
    void failed(const RpcReply& reply, RpcNews& news);
    void take_state(const RpcPoll& poll, const NodeProgressState& state, RpcNews& news);
    bool busy_too_long(std::int64_t now_ms) const {
        return busy_since_ms_ && now_ms - *busy_since_ms_ >= rpc_busy_for_log_ms;
    }

    unsigned long node_id_ = 0;
    std::uint64_t ticket_ = 0;  // the poll on its way, or the last one
    std::uint64_t state_poll_ = 0;
    bool asking_ = false;
    std::int64_t asked_ms_ = 0;
    RpcPollSchedule schedule_;
    NodeRpcProgress progress_;
    std::optional<NodeProgressState> state_;
    RpcEndpoint endpoint_;
    bool past_warm_up_ = false;
    std::vector<std::string> wallets_;
    std::optional<std::int64_t> wallets_asked_ms_;
    std::string warnings_;
    std::string no_rpc_;                         // why there is no RPC to ask
    std::string why_not_;                        // why the last poll brought no state
    std::optional<std::int64_t> busy_since_ms_;  // the first of the "busy" answers in a row
    std::string busy_since_;                     // then, in words
    bool told_answering_ = false;
    bool told_refused_ = false;
    bool stop_sent_ = false;
};

}  // namespace zvkob
