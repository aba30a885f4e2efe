#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zvkob {

// The last bytes of the node's log, as the platform read them: it opens the
// file, reads its end and closes it at once, so the node is never hindered.
struct LogTail {
    std::string text;
    bool from_file_start = false;  // the text begins at the file's first byte
    std::string failure;           // why it could not be read; empty when read
};
using ReadLogTail = std::function<LogTail(std::size_t last_bytes)>;

// The node's latest run as its log tells it: the lines from the version line
// it writes at every start (after a run of empty lines) to the end of the
// file, without line ends.
struct LogSession {
    std::vector<std::string> lines;
    // False when no start was found in the most that is read (1 MiB): the
    // lines are then the end of a longer run.
    bool start_found = false;
    std::optional<std::int64_t> started_utc_ms;  // the time of its version line, if found
    std::optional<std::int64_t> last_utc_ms;     // the time of its last line that has one
    std::string failure;                         // why the log could not be read
};

inline constexpr std::size_t log_first_read = 64 * 1024;
inline constexpr std::size_t log_most_read = 1024 * 1024;

// Reads the end of the log, and more of it only while the latest session
// starts before what was read, up to log_most_read bytes. A first line that
// may have been cut (by the read, or by the node shrinking its log) is left
// out unless the text begins at the file's start.
LogSession latest_log_session(const ReadLogTail& read_tail);

// The lines of a text read from the log, without their line ends; its first
// line only when `keep_first` (else it may be cut).
std::vector<std::string_view> split_log_lines(std::string_view text, bool keep_first);

// Where each run of the node begins among `lines` (its version line).
std::vector<std::size_t> log_run_starts(const std::vector<std::string_view>& lines,
                                        bool from_file_start);

// Whether the session can be the one of a node that started at this moment:
// it did not begin before it. Without a known start (a run longer than what
// is read), its last line must not be older than the node: a node that failed
// before opening its log leaves the end of an earlier run there.
bool session_began_since(const LogSession& session, std::int64_t node_started_utc_ms);

}  // namespace zvkob
