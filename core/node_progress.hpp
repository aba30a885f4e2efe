#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/node_progress_line.hpp"

namespace zvkob {

enum class NodeCondition {
    unknown,
    starting,
    catching_up,
    synced,
    stuck,
    stopping,
    needs_attention,
};

enum class StartPhase { opening, loading, verifying, rescanning, pruning, reindexing };

enum class StuckReason {
    no_block,    // no new block for too long
    silent_log,  // no line at all for an hour
    no_peers,    // the node's RPC tells of no connection for ten minutes
};

enum class UnknownReason {
    nothing_read,     // no reading yet
    writes_nothing,   // readings, but not one line
    unreadable,       // the platform could not read the log (the detail says why)
    unknown_format,   // lines, but none in a format ZV-KOB knows
    no_progress_yet,  // lines, but none about the chain or the start yet
};

// Synced: it left the initial block download, its progress reached
// synced_progress, or its tip's block time was less than at_tip_block_age_ms
// before the line that took it (as the node's own window judges it: a fork's
// or a snapshot chainstate's progress may be wrong); and its tip was at most
// synced_block_age_ms old when it took it.
inline constexpr double synced_progress = 0.99999;
inline constexpr std::int64_t at_tip_block_age_ms = 90 * 60'000;
inline constexpr std::int64_t synced_block_age_ms = 2 * 3'600'000;
// Stuck: no new block for synced_quiet_ms while synced; no block, header,
// check or rescan for catching_up_quiet_ms while catching up; no line at all
// for silent_log_ms.
inline constexpr std::int64_t synced_quiet_ms = 2 * 3'600'000;
inline constexpr std::int64_t catching_up_quiet_ms = 30 * 60'000;
inline constexpr std::int64_t silent_log_ms = 3'600'000;
// After "Flushing large (...) UTXO set to disk" the node may write nothing for
// long: it is not stuck until its next line, and the pause does not count
// towards the quiet after it. A flush that seems never to end is stuck after
// flush_quiet_ms: a large cache on a slow drive takes tens of minutes, not hours.
inline constexpr std::int64_t flush_quiet_ms = 3 * 3'600'000;

// The node's state at a moment, as its log tells it. Durations are never negative.
struct NodeProgressState {
    NodeCondition condition = NodeCondition::unknown;
    StartPhase phase = StartPhase::opening;            // when starting
    std::optional<int> phase_percent;                  // when verifying or rescanning: 0..100
    std::optional<std::int64_t> block_file;            // when reindexing: its block file's number
    std::optional<std::int64_t> height;                // the tip's
    std::optional<std::int64_t> header_height;         // once headers were synchronised
    std::optional<double> sync_progress;               // the node's own estimate: 0..1
    std::optional<std::int64_t> behind_ms;             // from the tip's block time to now
    std::optional<std::int64_t> last_block_ago_ms;     // since the node took a new block
    std::optional<std::int64_t> catching_up_ms;        // how long catching up has taken so far
    std::optional<std::int64_t> peers;                 // connections, where the node's RPC told
    StuckReason stuck_reason = StuckReason::no_block;  // when stuck
    std::int64_t quiet_since_utc_ms = 0;               // when stuck
    std::int64_t quiet_ms = 0;                         // when stuck
    UnknownReason unknown_reason = UnknownReason::nothing_read;  // when unknown
    std::string detail;   // needs attention: the error line; unreadable: why
    std::string warning;  // the node's own warning of late, or empty
};

// What changed since it was last asked.
struct ProgressNews {
    std::vector<std::string> events;    // history lines, oldest first
    std::vector<std::string> warnings;  // the node's warnings, each once per run, oldest first
    bool alarm = false;  // it became stuck or needs attention: flash the taskbar once
};

// Whether a change from `before` to `after` is worth a history line: the
// condition, or the start's phase, the reason of a stuck or unknown state.
bool same_progress_state(const NodeProgressState& before, const NodeProgressState& after);

// Whether the node is in a state that flashes the taskbar button once.
bool is_progress_alarm(NodeCondition condition);

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

    const NodeProgressState& state(std::int64_t now_ms);
    // The events and alarm since the previous call; each is handed out once.
    ProgressNews take_news();

private:
    void take(const ProgressLine& line, std::int64_t line_ms);
    void take_errors(const ProgressLine& line);
    void take_warning(const ProgressLine& line);
    void take_pause(const ProgressLine& line, std::int64_t line_ms);
    void take_chain(const ProgressLine& line, std::int64_t block_taken_ms);
    void take_start_phase(const ProgressLine& line, std::int64_t line_ms);
    void forget_run(std::int64_t started_ms);
    void settle_clock(std::int64_t now_ms);
    void evaluate(std::int64_t now_ms);
    NodeProgressState judge(std::int64_t now_ms) const;
    NodeProgressState judge_chain(NodeProgressState state, std::int64_t now_ms) const;

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
        std::optional<std::int64_t> resumed_ms;  // the first line after a long flush
    } run_;
    std::optional<std::int64_t> catching_up_since_ms_;
    NodeProgressState state_;
    ProgressNews news_;
};

}  // namespace zvkob
