#include "core/node_state/node_progress_text.hpp"

#include <algorithm>
#include <array>
#include <cmath>

#include "core/shown_text.hpp"
#include "core/time_text.hpp"

namespace zvkob {
namespace {

constexpr std::int64_t ms_per_minute = 60'000;
constexpr std::int64_t minutes_per_day = 24 * 60;

std::string counted(std::int64_t count, const char* unit) {
    return std::to_string(count) + " " + unit + (count == 1 ? "" : "s");
}

// Whole minutes once past a minute: the tooltip need not change every second.
std::string coarse_duration(std::int64_t milliseconds) {
    return duration_text(
        milliseconds < ms_per_minute ? milliseconds : milliseconds - milliseconds % ms_per_minute);
}

// 0.93245 as "93.2 %", never rounded up to a full sync.
std::string percent_text(double fraction) {
    const auto tenths = static_cast<int>(std::clamp(fraction, 0.0, 1.0) * 1000.0);
    return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10) + " %";
}

std::string height_part(const NodeProgressState& state) {
    return state.height ? " · height " + with_thousands(*state.height) : "";
}

// The node's RPC names its start phase itself, in its own words (and language).
std::string starting_text(const NodeProgressState& state) {
    if (!state.detail.empty()) {
        return "Starting · " + shown_text(state.detail, tooltip_line_characters);
    }
    constexpr std::array phases = {"Starting",
                                   "Loading blocks",
                                   "Verifying blocks",
                                   "Rescanning the wallet",
                                   "Pruning block files",
                                   "Reindexing"};
    std::string text = phases[static_cast<std::size_t>(state.phase)];
    if (state.phase_percent) {
        text += " · " + std::to_string(*state.phase_percent) + " %";
    }
    if (state.block_file) {
        text += " · block file " + with_thousands(*state.block_file);
    }
    return text;
}

std::string peers_part(const NodeProgressState& state) {
    return state.peers ? " · " + counted(*state.peers, "peer") : "";
}

std::string catching_up_text(const NodeProgressState& state) {
    std::string text = "Catching up" + height_part(state);
    if (state.height && state.header_height && *state.header_height > *state.height) {
        text += " of ~" + with_thousands(*state.header_height);
    }
    if (state.sync_progress) {
        text += " · " + percent_text(*state.sync_progress);
    }
    if (state.behind_ms) {
        text += " · " + behind_text(*state.behind_ms) + " behind";
    }
    return text + peers_part(state);
}

std::string unknown_text(const NodeProgressState& state) {
    switch (state.unknown_reason) {
        case UnknownReason::nothing_read:
            return "nothing read from the node's log yet";
        case UnknownReason::writes_nothing:
            return "the node has written nothing to its log";
        case UnknownReason::unreadable:
            return shown_text(state.detail, tooltip_line_characters);
        case UnknownReason::unknown_format:
            return "the node's log is in a format ZV-KOB does not know";
        case UnknownReason::no_progress_yet:
            return "no block or start-up step in the log's latest lines yet";
    }
    return {};
}

std::string stuck_what(StuckReason reason) {
    switch (reason) {
        case StuckReason::no_block:
            return "No new block";
        case StuckReason::silent_log:
            return "No line in the node's log";
        case StuckReason::no_peers:
            return "No connection to other nodes";
    }
    return {};
}

std::string stuck_text(const NodeProgressState& state) {
    const std::string quiet = coarse_duration(state.quiet_ms);
    return stuck_what(state.stuck_reason) + " for " + quiet + height_part(state);
}

// The start itself is in the history already, written when the process appeared.
std::string starting_event(StartPhase phase) {
    constexpr std::array events = {"",
                                   "The node started loading.",
                                   "The node is verifying its last blocks.",
                                   "The node is rescanning its wallet.",
                                   "The node is pruning its block files.",
                                   "The node is reindexing: it rebuilds its database from its "
                                   "block files."};
    return events[static_cast<std::size_t>(phase)];
}

std::string synced_event(const NodeProgressState& after) {
    const std::string at = after.height ? " at height " + with_thousands(*after.height) : "";
    if (after.catching_up_ms) {
        return "The node caught up" + at + " after " + coarse_duration(*after.catching_up_ms) + ".";
    }
    return "The node is synced" + at + ".";
}

std::string stuck_event(const NodeProgressState& after, int utc_offset_minutes) {
    const std::string what = stuck_what(after.stuck_reason);
    std::string text = what + " since " + clock_text(after.quiet_since_utc_ms, utc_offset_minutes) +
                       " (" + coarse_duration(after.quiet_ms) + ")";
    if (after.height) {
        text += "; height " + with_thousands(*after.height);
    }
    return text + ".";
}

std::string unknown_event(const NodeProgressState& after) {
    if (after.unknown_reason != UnknownReason::unreadable &&
        after.unknown_reason != UnknownReason::unknown_format) {
        return {};
    }
    return "ZV-KOB cannot tell the node's state: " + unknown_text(after) + ".";
}

bool new_blocks_again(const NodeProgressState& before, const NodeProgressState& after) {
    return before.condition == NodeCondition::stuck && after.condition != NodeCondition::stuck &&
           after.height && (!before.height || *after.height > *before.height);
}

}  // namespace

std::string clock_text(std::int64_t utc_ms, int utc_offset_minutes) {
    const std::int64_t minutes = utc_ms / ms_per_minute + utc_offset_minutes;
    const std::int64_t of_day = (minutes % minutes_per_day + minutes_per_day) % minutes_per_day;
    const auto two_digits = [](std::int64_t value) {
        return std::string(1, static_cast<char>('0' + value / 10)) +
               static_cast<char>('0' + value % 10);
    };
    return two_digits(of_day / 60) + ":" + two_digits(of_day % 60);
}

std::string with_thousands(std::int64_t number) {
    const std::string digits = std::to_string(number < 0 ? -number : number);
    std::string text = number < 0 ? "-" : "";
    for (std::size_t at = 0; at < digits.size(); ++at) {
        if (at != 0 && (digits.size() - at) % 3 == 0) {
            text += ',';
        }
        text += digits[at];
    }
    return text;
}

std::string behind_text(std::int64_t milliseconds) {
    const std::int64_t minutes = std::max<std::int64_t>(0, milliseconds) / ms_per_minute;
    const std::int64_t days = minutes / minutes_per_day;
    if (days >= 365) {
        const std::int64_t months = std::min<std::int64_t>(days % 365 / 30, 11);
        return counted(days / 365, "year") + (months != 0 ? " " + counted(months, "month") : "");
    }
    if (days >= 30) {
        return counted(std::min<std::int64_t>(days / 30, 12), "month");
    }
    if (days >= 1) {
        return counted(days, "day");
    }
    if (minutes >= 60) {
        return counted(minutes / 60, "hour");
    }
    return minutes >= 1 ? counted(minutes, "minute") : "less than a minute";
}

std::string progress_tooltip(const NodeProgressState& state) {
    switch (state.condition) {
        case NodeCondition::starting:
            return starting_text(state);
        case NodeCondition::catching_up:
            return catching_up_text(state);
        case NodeCondition::synced:
            return "Synced" + height_part(state) +
                   (state.last_block_ago_ms
                        ? " · last block " + coarse_duration(*state.last_block_ago_ms) + " ago"
                        : "") +
                   peers_part(state);
        case NodeCondition::stuck:
            return stuck_text(state);
        case NodeCondition::stopping:
            return "Stopping…";
        case NodeCondition::needs_attention:
            return "Needs attention: " + shown_text(state.detail, tooltip_line_characters);
        case NodeCondition::network_paused:
            return "Network paused" + height_part(state) +
                   (state.behind_ms ? " · " + behind_text(*state.behind_ms) + " behind" : "");
        case NodeCondition::unknown:
            return "State unknown: " + unknown_text(state);
    }
    return {};
}

std::string warning_tooltip(const NodeProgressState& state) {
    return state.warning.empty()
               ? std::string()
               : "The node warns: " + shown_text(state.warning, tooltip_line_characters);
}

std::string progress_event(const NodeProgressState& before, const NodeProgressState& after,
                           int utc_offset_minutes) {
    if (new_blocks_again(before, after)) {
        return "New blocks again at height " + with_thousands(*after.height) + ".";
    }
    switch (after.condition) {
        case NodeCondition::starting:
            return starting_event(after.phase);
        case NodeCondition::catching_up:
            return after.height ? "The node is catching up from height " +
                                      with_thousands(*after.height) + "."
                                : "The node is catching up.";
        case NodeCondition::synced:
            return synced_event(after);
        case NodeCondition::stuck:
            return stuck_event(after, utc_offset_minutes);
        case NodeCondition::stopping:
            return "The node is stopping.";
        case NodeCondition::needs_attention:
            return "The node's log shows an error: " +
                   shown_text(after.detail, event_line_characters);
        case NodeCondition::network_paused:
            return after.height ? "The node's network is paused at height " +
                                      with_thousands(*after.height) + "."
                                : "The node's network is paused.";
        case NodeCondition::unknown:
            return unknown_event(after);
    }
    return {};
}

std::string log_reading_event(const NewLogLines& reading) {
    if (reading.reading == LogReading::restarted) {
        return "The node's log became shorter or was replaced: ZV-KOB reads it from its end "
               "again.";
    }
    if (reading.reading == LogReading::jumped_ahead) {
        const std::uint64_t tenths = reading.skipped_bytes / 100'000;
        return "ZV-KOB skipped " + std::to_string(tenths / 10) + "." + std::to_string(tenths % 10) +
               " MB of the node's log to keep up with it.";
    }
    return {};
}

}  // namespace zvkob
