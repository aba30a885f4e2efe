#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/node_state/node_progress_line.hpp"
#include "core/node_state/node_progress_news.hpp"
#include "core/node_state/node_progress_state.hpp"

namespace zvkob {

// How many minutes local time is ahead of UTC at a moment.
using UtcOffsetAt = std::function<int(std::int64_t utc_ms)>;

// Follows the node's log lines of one run of the node and tells its state.
// Times are milliseconds since 1970 in UTC; `now_ms` comes from the caller.
class NodeProgress {
public:
    explicit NodeProgress(UtcOffsetAt utc_offset_at);

    // The node was started: forget the previous run. Lines of the first
    // reading that are older than this are from an earlier run.
    void node_started(std::int64_t now_ms);
    // The lines of one reading of the log, possibly none.
    void feed(std::span<const std::string_view> lines, std::int64_t now_ms);
    void read_failed(std::string_view why, std::int64_t now_ms);
    // The PC woke from sleep then: the node's quiet until then is not its own.
    void woke(std::int64_t woke_ms);

    const NodeProgressState& state(std::int64_t now_ms);
    // The events and alarm since the previous call; each is handed out once.
    ProgressNews take_news();

private:
    void take(const ProgressLine& line, std::int64_t line_ms);
    void take_errors(const ProgressLine& line);
    void take_failures(const ProgressLine& line);
    void take_warning(const ProgressLine& line);
    void take_pause(const ProgressLine& line, std::int64_t line_ms);
    void take_chain(const ProgressLine& line, std::int64_t block_taken_ms);
    void take_start_phase(const ProgressLine& line, std::int64_t line_ms);
    void forget_run(std::int64_t started_ms);
    void settle_clock(std::int64_t now_ms);
    void evaluate(std::int64_t now_ms);
    NodeProgressState judge(std::int64_t now_ms) const;
    NodeProgressState judge_chain(NodeProgressState state, std::int64_t now_ms) const;
    bool judge_trouble(NodeProgressState& state) const;

    UtcOffsetAt utc_offset_at_;
    bool fed_ = false;
    bool skip_older_lines_ = false;
    std::string read_failure_;
    struct Run {
        std::optional<std::int64_t> started_ms;
        std::int64_t timed_lines = 0;
        bool milestone_seen = false;
        std::optional<std::int64_t> last_line_ms;
        bool starting = false;
        bool start_over = false;
        StartPhase phase = StartPhase::opening;
        std::optional<int> phase_percent;
        std::optional<std::int64_t> block_file;
        std::optional<std::int64_t> height;
        std::optional<std::int64_t> highest_height;
        std::optional<std::int64_t> header_height;
        std::optional<double> sync_progress;
        std::optional<std::int64_t> block_utc_ms;
        std::optional<std::int64_t> tip_line_ms;       // when the node logged the tip's block
        std::optional<std::int64_t> last_block_ms;     // when the node took its latest new block
        std::optional<std::int64_t> last_activity_ms;  // start-up steps, headers, rescans
        bool left_ibd = false;
        bool stopping = false;
        std::string fatal_line;          // a sign of a stop: for the rest of the run
        std::string pending_error;       // an error-level line since the last progress
        bool errors_only_since = false;  // nothing but errors since that line
        std::string warning;
        bool warning_from_tip = false;    // an UpdateTip without one ends it
        std::vector<std::string> warned;  // each warning once per run (digits aside)
        std::optional<std::int64_t> flushing_since;
        // The first line after a long flush, or when the PC woke: the quiet
        // before it does not count.
        std::optional<std::int64_t> resumed_ms;
        std::string failing_block;  // the best block's failure the node repeats
        int block_failures = 0;     // how often in a row, with no new tip between
        std::string exception;      // an exception's lines while they go on
        std::string dead_thread;    // an exception that ended a thread, until progress
    } run_;
    ProgressTeller teller_;
    NodeProgressState state_;
    ProgressNews news_;
};

}  // namespace zvkob
