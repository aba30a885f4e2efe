#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/node_rpc/rpc_endpoint.hpp"
#include "core/power/metered_pause.hpp"
#include "platform/file_system.hpp"
#include "platform/history.hpp"
#include "platform/link_cost.hpp"
#include "platform/record_writer.hpp"

namespace zvkob {

// Why a call was not made: nowhere to make it.
inline constexpr const char* rpc_not_known = "the node's RPC is not known";

// The node is given this long to answer the resume as ZV-KOB closes.
inline constexpr std::int64_t resume_at_close_within_ms = 3'000;

// Pause the Node's Network on Metered Links, on the guardian's side: reads
// the link's cost on the power source's 30 s step (and at once when asked),
// asks the rule, and keeps which call is on its way to the node, one at a
// time. With the tick off it reads nothing, unless a network it paused is
// still to be resumed.
//
// The node's state it decides on is one read after the answer to its last
// call (heard_after_call); while none has come, a decision waits for it at
// each look, with the cost of the last reading. A pause it could not resume
// as ZV-KOB closed is kept in a record beside the history with the node's
// run (network_pause_record_path), and taken over by the next start of
// ZV-KOB only on that same run.
class MeteredGuard {
public:
    MeteredGuard(LinkCost& cost, History& history, FileSystem& files, RecordWriter& records)
        : cost_(cost), history_(history), files_(files), records_(records) {}

    // A look is due: a reading (none yet, or the last one 30 s ago), or a
    // decision that waits for the node's state; never while a call is on its way.
    bool due(std::int64_t now_ms) const;
    // Reads the link's cost when a reading is due, and decides on `node`:
    // its state as heard_after_call tells it.
    NetworkAction look(const MeteredFacts& node, std::int64_t now_ms);
    // Where the node's RPC answered when ZV-KOB last called it: a resume goes
    // there once the node's RPC is no longer followed.
    void calling_at(const RpcEndpoint& endpoint) { endpoint_ = endpoint; }
    // Where a call goes: where the node's RPC answers now (`answering`), else
    // (its progress no longer followed) where ZV-KOB last called it.
    std::optional<RpcEndpoint> call_at(const std::optional<RpcEndpoint>& answering) const {
        return answering ? answering : endpoint_;
    }
    // The node's answer to the call look() asked for; `polls_asked`: the
    // node's RPC polls asked by then, none of which tells what came of it.
    void answered(NetworkAction action, NetworkOutcome outcome, std::string_view failure,
                  std::uint64_t polls_asked);
    // The answer came for a node no longer followed: it settles nothing.
    void answer_dropped() { calling_ = false; }
    // Whether the node's state was read by a poll asked after the last
    // call's answer (`state_poll`: the poll whose state is held, 0 for none):
    // only then does its networkactive tell what came of the call.
    bool heard_after_call(std::uint64_t state_poll) const { return state_poll > polls_at_answer_; }
    // This copy's node now (id 0 for none): a new run's network runs. A
    // remembered pause is settled at the first node seen: taken over on its
    // own run, forgotten on any other.
    void node_is(const NodeRun& run);
    // Ask at the next tick (the tick changed, the PC woke, Windows told of a new cost).
    void read_soon() { last_read_ms_.reset(); }

    bool paused() const { return rule_.paused(); }
    bool calling() const { return calling_; }

    // ZV-KOB closes: whether the node's network may be paused by it (a
    // pause held, or a call whose answer it did not hear).
    bool may_hold_a_pause() const { return rule_.paused() || rule_.settling() || calling_; }
    // What came of the resume as ZV-KOB closes (none when it did not try, as
    // Windows ends the session): one it could not make is remembered for
    // `run`, and the history says so.
    void closed(std::optional<NetworkOutcome> resumed, std::string_view failure,
                const NodeRun& run);

private:
    void settle_remembered(const NodeRun& run);
    void record(const std::string& event);

    LinkCost& cost_;
    History& history_;
    FileSystem& files_;
    RecordWriter& records_;
    MeteredPause rule_;
    std::optional<std::uint32_t> cost_now_;
    int cost_failures_ = 0;  // readings in a row that could not tell the cost
    std::optional<RpcEndpoint> endpoint_;
    std::optional<std::int64_t> last_read_ms_;
    NodeRun node_;
    std::uint64_t polls_at_answer_ = 0;
    bool calling_ = false;
    bool waits_for_state_ = false;
    bool failure_told_ = false;
    bool remembered_settled_ = false;
};

}  // namespace zvkob
