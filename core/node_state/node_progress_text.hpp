#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "core/node_log/log_follower.hpp"
#include "core/node_state/node_progress.hpp"

namespace zvkob {

inline constexpr std::size_t tooltip_line_characters = 100;
inline constexpr std::size_t event_line_characters = 200;

// One short line for the running program's tooltip:
// "Catching up · height 812,345 of ~927,012 · 93.2 % · 1 year 2 months behind".
std::string progress_tooltip(const NodeProgressState& state);

// The tooltip's line for the node's own warning, or "" when it warns of nothing:
// "The node warns: Unknown new rules activated (versionbit 7)".
std::string warning_tooltip(const NodeProgressState& state);

// The history line for a change of state, or "" when it is not worth one.
// `utc_offset_minutes` gives the local clock time of a stuck state's start.
std::string progress_event(const NodeProgressState& before, const NodeProgressState& after,
                           int utc_offset_minutes);

// The history line for a reading that did not go on from the previous one,
// or "" when it did (or was the first).
std::string log_reading_event(const NewLogLines& reading);

// How far behind a block time is, in the largest units: "1 year 2 months",
// "3 days", "5 hours", "less than a minute".
std::string behind_text(std::int64_t milliseconds);

// The local clock time of a moment, as "14:05".
std::string clock_text(std::int64_t utc_ms, int utc_offset_minutes);

// 927012 as "927,012".
std::string with_thousands(std::int64_t number);

}  // namespace zvkob
