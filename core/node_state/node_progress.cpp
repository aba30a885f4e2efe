#include "core/node_state/node_progress.hpp"

#include <algorithm>
#include <utility>

#include "core/node_log/node_log_signs.hpp"

namespace zvkob {
namespace {

using Kind = ProgressLineKind;
using Time = std::optional<std::int64_t>;

// Lines written this long before the node was started are still its own.
constexpr std::int64_t start_slack_ms = 60'000;
// Warnings told in the history per run, at most.
constexpr std::size_t warnings_told = 16;

Time latest(Time first, Time second) {
    if (first && second) {
        return std::max(*first, *second);
    }
    return first ? first : second;
}

std::int64_t since(std::int64_t moment, std::int64_t now_ms) {
    return std::max<std::int64_t>(0, now_ms - moment);
}

StartPhase phase_of(Kind kind) {
    switch (kind) {
        case Kind::verifying:
            return StartPhase::verifying;
        case Kind::rescanning:
            return StartPhase::rescanning;
        case Kind::pruning:
            return StartPhase::pruning;
        case Kind::reindexing:
            return StartPhase::reindexing;
        default:
            return StartPhase::loading;
    }
}

}  // namespace

namespace {

NodeProgressState stuck(NodeProgressState state, StuckReason reason, std::int64_t quiet_since,
                        std::int64_t now_ms) {
    state.condition = NodeCondition::stuck;
    state.stuck_reason = reason;
    state.quiet_since_utc_ms = quiet_since;
    state.quiet_ms = since(quiet_since, now_ms);
    return state;
}

NodeProgressState unknown(NodeProgressState state, UnknownReason reason) {
    state.condition = NodeCondition::unknown;
    state.unknown_reason = reason;
    return state;
}

// "44 of last 100 blocks have unexpected version" is one warning whatever the count.
std::string without_digits(std::string_view text) {
    std::string shape;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            shape += c;
        }
    }
    return shape;
}

}  // namespace

NodeProgress::NodeProgress(UtcOffsetAt utc_offset_at) : utc_offset_at_(std::move(utc_offset_at)) {}

void NodeProgress::node_started(std::int64_t now_ms) {
    forget_run(now_ms);
    skip_older_lines_ = true;
    evaluate(now_ms);
}

void NodeProgress::feed(std::span<const std::string_view> lines, std::int64_t now_ms) {
    fed_ = true;
    read_failure_.clear();
    settle_clock(now_ms);
    for (const std::string_view whole_line : lines) {
        const ProgressLine line = read_progress_line(whole_line);
        if (skip_older_lines_ && line.utc_ms && run_.started_ms &&
            *line.utc_ms < *run_.started_ms - start_slack_ms) {
            continue;
        }
        take(line, line.utc_ms ? std::min(*line.utc_ms, now_ms) : now_ms);
    }
    skip_older_lines_ = false;
    evaluate(now_ms);
}

void NodeProgress::read_failed(std::string_view why, std::int64_t now_ms) {
    if (read_failure_ != why) {
        read_failure_ = why.empty() ? "the log could not be read" : why;
    }
    settle_clock(now_ms);
    evaluate(now_ms);
}

void NodeProgress::woke(std::int64_t woke_ms) {
    run_.resumed_ms = latest(run_.resumed_ms, woke_ms);
}

const NodeProgressState& NodeProgress::state(std::int64_t now_ms) {
    settle_clock(now_ms);
    evaluate(now_ms);
    return state_;
}

ProgressNews NodeProgress::take_news() {
    return std::exchange(news_, ProgressNews{});
}

void NodeProgress::forget_run(std::int64_t started_ms) {
    run_ = Run{};
    run_.started_ms = started_ms;
    run_.starting = true;
    teller_.node_started();
}

void NodeProgress::take(const ProgressLine& line, std::int64_t line_ms) {
    if (line.kind == Kind::session_start) {
        forget_run(line_ms);
    }
    run_.timed_lines += line.utc_ms ? 1 : 0;
    run_.last_line_ms = latest(run_.last_line_ms, line_ms);
    run_.milestone_seen = run_.milestone_seen || line.kind != Kind::other;
    take_errors(line);
    take_failures(line);
    take_warning(line);
    take_pause(line, line_ms);
    const auto end_start = [this] {
        run_.starting = false;
        run_.start_over = true;
    };
    switch (line.kind) {
        case Kind::loading:
        case Kind::verifying:
        case Kind::rescanning:
        case Kind::pruning:
        case Kind::reindexing:
            take_start_phase(line, line_ms);
            break;
        case Kind::done_loading:
        case Kind::background_tip:
            run_.last_activity_ms = latest(run_.last_activity_ms, line_ms);
            if (line.kind == Kind::done_loading) {
                end_start();
            }
            break;
        case Kind::loaded_chain:
            take_chain(line, line_ms);
            run_.starting = !run_.start_over;
            break;
        case Kind::tip:
            take_chain(line, line_ms);
            end_start();
            break;
        case Kind::headers:
            run_.header_height = latest(run_.header_height, line.height);
            run_.last_activity_ms = latest(run_.last_activity_ms, line_ms);
            end_start();
            break;
        case Kind::left_ibd:
            run_.left_ibd = true;
            end_start();
            break;
        case Kind::stopping:
            run_.stopping = true;
            break;
        default:
            break;
    }
}

// A sign of a stop counts for the rest of the run; an error-level line only
// while nothing but errors follow it until the shutdown begins, and, as long
// as no progress follows it, during the start (where it is an error that ends
// the start, shown by the wallet program in a box that waits for the user).
void NodeProgress::take_errors(const ProgressLine& line) {
    switch (line.kind) {
        case Kind::fatal:
            if (run_.fatal_line.empty()) {
                run_.fatal_line = line.message;
            }
            return;
        case Kind::error:
        case Kind::block_failed:
        case Kind::exception:
            if (run_.pending_error.empty()) {
                run_.pending_error = line.message;
            }
            run_.errors_only_since = true;
            return;
        case Kind::stopping:
            if (run_.errors_only_since && run_.fatal_line.empty()) {
                run_.fatal_line = run_.pending_error;
            }
            run_.pending_error.clear();
            break;
        default:
            if (is_normal_progress(line.kind)) {
                run_.pending_error.clear();
            }
            break;
    }
    run_.errors_only_since = run_.errors_only_since && !line.utc_ms;
}

// A best block that fails again and again, and a thread that died on an
// exception, hold the node up until it takes a new block (or shows other
// progress): with no new tip the node goes nowhere.
void NodeProgress::take_failures(const ProgressLine& line) {
    if (is_normal_progress(line.kind)) {
        run_.block_failures = 0;
        run_.dead_thread.clear();
    }
    if (line.kind == Kind::block_failed) {
        run_.block_failures = line.message == run_.failing_block ? run_.block_failures + 1 : 1;
        run_.failing_block = line.message;
    }
    if (line.kind == Kind::exception) {
        run_.exception = line.message.substr(0, line.message.find_last_not_of(' ') + 1);
    } else if (!run_.exception.empty() && !line.utc_ms) {
        // Its message and where it happened follow on lines without a time.
        const auto end = line.message.find_last_not_of(' ');
        if (end != std::string_view::npos) {
            run_.exception += " " + std::string(line.message.substr(0, end + 1));
        }
        if (!line.thread.empty()) {
            run_.dead_thread = std::exchange(run_.exception, {});
        }
    } else {
        run_.exception.clear();
    }
}

// The node repeats its warnings on every UpdateTip line while they hold.
void NodeProgress::take_warning(const ProgressLine& line) {
    if (line.kind == Kind::tip && line.warning.empty() && run_.warning_from_tip) {
        run_.warning.clear();
    }
    if (line.warning.empty() || line.warning == run_.warning) {
        return;
    }
    run_.warning = line.warning;
    run_.warning_from_tip = line.kind == Kind::tip;
    std::string shape = without_digits(line.warning);
    if (run_.warned.size() < warnings_told &&
        std::ranges::find(run_.warned, shape) == run_.warned.end()) {
        run_.warned.push_back(std::move(shape));
        news_.warnings.emplace_back(line.warning);
    }
}

void NodeProgress::take_pause(const ProgressLine& line, std::int64_t line_ms) {
    if (line.kind == Kind::long_flush) {
        run_.flushing_since = line_ms;
    } else if (run_.flushing_since && !line.message.empty()) {
        run_.flushing_since.reset();
        run_.resumed_ms = latest(run_.resumed_ms, line_ms);
    }
}

void NodeProgress::take_chain(const ProgressLine& line, std::int64_t block_taken_ms) {
    const std::int64_t height = line.height.value_or(0);
    // A lower height is a re-organisation: taken, but not a new block.
    if (!run_.highest_height || height > *run_.highest_height) {
        run_.highest_height = height;
        run_.last_block_ms = block_taken_ms;
    }
    run_.height = height;
    run_.sync_progress = line.sync_progress ? line.sync_progress : run_.sync_progress;
    if (line.block_utc_ms) {
        run_.block_utc_ms = line.block_utc_ms;
        run_.tip_line_ms = block_taken_ms;
    }
}

void NodeProgress::take_start_phase(const ProgressLine& line, std::int64_t line_ms) {
    run_.last_activity_ms = latest(run_.last_activity_ms, line_ms);
    // A rescan or prune while the node runs is work, not a start. A reindex
    // runs after "Done loading" and, but for its genesis block, connects the
    // blocks once all files are read; older nodes connect them as they read,
    // and are better told by their height as they catch up.
    const bool reindex_first = line.kind == Kind::reindexing && run_.height.value_or(0) <= 0;
    if (run_.start_over && !reindex_first) {
        return;
    }
    const StartPhase phase = phase_of(line.kind);
    if (!run_.starting || phase != run_.phase) {
        run_.phase_percent.reset();
        run_.block_file.reset();
    }
    run_.starting = true;
    run_.phase = phase;
    run_.phase_percent = line.percent ? line.percent : run_.phase_percent;
    run_.block_file = line.block_file ? line.block_file : run_.block_file;
}

void NodeProgress::settle_clock(std::int64_t now_ms) {
    // After the clock went back, what was seen counts as seen now.
    for (Time* moment : {&run_.started_ms, &run_.last_line_ms, &run_.last_block_ms,
                         &run_.last_activity_ms, &run_.flushing_since, &run_.resumed_ms}) {
        if (*moment && **moment > now_ms) {
            *moment = now_ms;
        }
    }
}

void NodeProgress::evaluate(std::int64_t now_ms) {
    NodeProgressState next = judge(now_ms);
    const int utc_offset = utc_offset_at_ ? utc_offset_at_(next.quiet_since_utc_ms) : 0;
    teller_.follow(next, now_ms, utc_offset, news_);
    state_ = std::move(next);
}

// An error that stops the node, the same block failing again and again, or a
// thread that died: the node's own line says what.
bool NodeProgress::judge_trouble(NodeProgressState& state) const {
    const std::string& error =
        run_.fatal_line.empty() && run_.starting ? run_.pending_error : run_.fatal_line;
    if (!error.empty()) {
        state.detail = error;
        const TroubleKind kind = trouble_kind(error);
        state.advice = kind == TroubleKind::other ? std::string() : advice_for(kind, {});
    } else if (!run_.dead_thread.empty()) {
        state.detail = run_.dead_thread;
        state.advice = advice_for(TroubleKind::thread_stopped, {});
    } else if (run_.block_failures >= repeated_block_failures) {
        state.detail = run_.failing_block;
    } else {
        return false;
    }
    state.condition = NodeCondition::needs_attention;
    return true;
}

NodeProgressState NodeProgress::judge(std::int64_t now_ms) const {
    NodeProgressState state;
    state.height = run_.height;
    state.header_height = run_.header_height;
    state.sync_progress = run_.sync_progress;
    state.tip_utc_ms = run_.block_utc_ms;
    if (run_.block_utc_ms) {
        state.behind_ms = since(*run_.block_utc_ms, now_ms);
    }
    state.new_block_ms = run_.last_block_ms;
    if (run_.last_block_ms) {
        state.last_block_ago_ms = since(*run_.last_block_ms, now_ms);
    }
    state.warning = run_.warning;
    if (judge_trouble(state)) {
        return state;
    }
    if (!read_failure_.empty()) {
        state.detail = read_failure_;
        return unknown(std::move(state), UnknownReason::unreadable);
    }
    const Time heard = latest(run_.last_line_ms, run_.started_ms);
    if (!heard) {
        return unknown(std::move(state),
                       fed_ ? UnknownReason::writes_nothing : UnknownReason::nothing_read);
    }
    const std::int64_t quiet_from = *latest(heard, run_.resumed_ms);
    if (since(quiet_from, now_ms) >= (run_.flushing_since ? flush_quiet_ms : silent_log_ms)) {
        return stuck(std::move(state), StuckReason::silent_log, quiet_from, now_ms);
    }
    if (run_.stopping) {
        state.condition = NodeCondition::stopping;
        return state;
    }
    if (run_.starting) {
        state.condition = NodeCondition::starting;
        state.phase = run_.phase;
        state.phase_percent = run_.phase_percent;
        state.block_file = run_.block_file;
        return state;
    }
    if (!run_.start_over) {
        return unknown(std::move(state), run_.timed_lines == 0 && !run_.milestone_seen
                                             ? UnknownReason::unknown_format
                                             : UnknownReason::no_progress_yet);
    }
    return judge_chain(std::move(state), now_ms);
}

NodeProgressState NodeProgress::judge_chain(NodeProgressState state, std::int64_t now_ms) const {
    const bool young_block = run_.tip_line_ms && run_.block_utc_ms &&
                             *run_.tip_line_ms - *run_.block_utc_ms < at_tip_block_age_ms;
    const bool at_tip =
        run_.left_ibd || young_block || run_.sync_progress.value_or(0.0) >= synced_progress;
    // A node that latched as synced but takes blocks hours old (its computer
    // slept) is catching up again; a synced node waiting for a block is not.
    const bool recent_tip = !run_.last_block_ms || !run_.block_utc_ms ||
                            *run_.last_block_ms - *run_.block_utc_ms <= synced_block_age_ms;
    // While a long flush runs its silence is no sign; after it, only the
    // quiet since it ended counts.
    const bool flushing = run_.flushing_since.has_value();
    if (at_tip && recent_tip) {
        state.condition = NodeCondition::synced;
        const Time moved = latest(run_.last_block_ms, run_.resumed_ms);
        if (!flushing && run_.last_block_ms && since(*moved, now_ms) >= synced_quiet_ms) {
            return stuck(std::move(state), StuckReason::no_block, *run_.last_block_ms, now_ms);
        }
        return state;
    }
    state.condition = NodeCondition::catching_up;
    const Time moved = latest(latest(run_.last_block_ms, run_.last_activity_ms), run_.resumed_ms);
    if (!flushing && moved && since(*moved, now_ms) >= catching_up_quiet_ms) {
        return stuck(std::move(state), StuckReason::no_block, *moved, now_ms);
    }
    return state;
}

}  // namespace zvkob
