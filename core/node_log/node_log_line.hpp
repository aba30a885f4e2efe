#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace zvkob {

// A date and time in UTC as the node writes them, and how many characters it
// took: "2025-07-16T04:50:47Z", "2025-07-16T04:50:47.123456Z" (with
// -logtimemicros) or the older "2016-01-05 21:50:05" (up to 0.16, and the
// forks), which -logtimemicros writes as "2017-12-14 10:02:07.123456".
struct LogTime {
    std::int64_t utc_ms = 0;  // milliseconds since 1970
    std::size_t length = 0;
};

// The date and time that `text` begins with, or none. Block dates in
// UpdateTip lines (date='2016-01-05 21:50:05', date=2016-01-05T21:50:05Z) read
// the same once their quote is skipped.
std::optional<LogTime> leading_log_time(std::string_view text);

// The date and time that is the whole of `text`, in milliseconds since 1970.
std::optional<std::int64_t> parse_log_time(std::string_view text);

// One line of the node's log:
//   [*] 2025-10-20T09:00:02Z [msghand] [error] A fatal internal error occurred...
// The "[*] " mark (some lines were dropped by the rate limiter), the time and
// every leading "[...] " prefix (thread, source, function, level, category)
// are optional; what remains is the message.
struct LogLine {
    std::optional<std::int64_t> utc_ms;
    bool error_level = false;  // a "[error]" prefix
    std::string_view message;
};

// Reads a line given without its line end (a trailing CR is dropped).
LogLine read_log_line(std::string_view line);

}  // namespace zvkob
