#pragma once
#include <cstdint>
#include <optional>

namespace zvkob {

// Where the node of this copy is in its life.
enum class NodeStage { not_running, starting, running, asked_to_stop, stopped };

// How it stopped, once it has: not judged yet, or the judgement. `cut_short`:
// it was asked to stop (not by ZV-KOB) and ended before it finished.
enum class StopCause { not_judged, clean, asked_for, cut_short, crashed, after_error, cannot_tell };

// What happens to the node. `stop_overdue` is the notice that an asked stop
// still runs a minute later; `ctrl_c_pressed`, that a stop went as Ctrl+C on
// its console (rather than over its RPC or as a close of its windows);
// `stop_refused`, that every way of asking it refused the stop just asked:
// a node asked by nothing else was never asked, and runs on.
enum class NodeEvent {
    start,
    seen,
    stop_asked,
    ctrl_c_pressed,
    stop_overdue,
    stop_refused,
    gone,
    verdict
};

// The life of one node program of this copy: not running, starting (its batch
// file runs, the node is not seen yet), running, asked to stop, stopped and
// how. Every feature reads it; every change is an event, and all transitions
// are here. A stop ZV-KOB asked for belongs to the stop that follows it and to
// nothing later: the next start or sighting forgets it.
class NodeLife {
public:
    NodeStage stage() const { return stage_; }
    StopCause cause() const { return cause_; }
    // When the present stage began.
    std::int64_t since_ms() const { return since_ms_; }

    // While asked to stop (and once stopped as asked): when it was first and
    // last asked, whether the notice that it still runs was given since, and
    // whether Ctrl+C went to its console: only that leaves its batch file's
    // interpreter asking whether to end the batch job. After a stop over its
    // RPC the batch file runs on to its end.
    struct StopRequest {
        std::int64_t first_ms = 0;
        std::int64_t last_ms = 0;
        bool overdue_told = false;
        bool ctrl_c_pressed = false;
    };
    const std::optional<StopRequest>& stop_request() const { return stop_request_; }

    bool runs() const { return stage_ == NodeStage::running || stage_ == NodeStage::asked_to_stop; }

    // Applies an event at `now_ms`; `cause` goes with a verdict. Returns
    // whether anything changed: an event that does not fit the stage is ignored.
    bool on(NodeEvent event, std::int64_t now_ms, StopCause cause = StopCause::not_judged);

private:
    void enter(NodeStage stage, std::int64_t now_ms);

    NodeStage stage_ = NodeStage::not_running;
    StopCause cause_ = StopCause::not_judged;
    std::int64_t since_ms_ = 0;
    std::optional<StopRequest> stop_request_;
};

}  // namespace zvkob
