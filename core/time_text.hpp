#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zvkob {

// A moment in the user's local time, and how far that is ahead of UTC.
struct LocalTime {
    int year = 1970;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int utc_offset_minutes = 0;
};

// The local time of a moment (ms since 1970, UTC) at this offset from UTC.
LocalTime local_time_at(std::int64_t utc_ms, int utc_offset_minutes);

// ISO 8601 with the offset, as the history writes it: 2026-12-07T14:05:09+01:00.
std::string iso_local_time(const LocalTime& time);

// The moment (ms since 1970, UTC) of a history line's stamp, or none.
std::optional<std::int64_t> history_stamp_ms(std::string_view line);

// How long something took, in words a person reads at a glance: "45 s",
// "4 min 10 s", "2 h 5 min", "3 d 4 h".
std::string duration_text(std::int64_t milliseconds);

}  // namespace zvkob
