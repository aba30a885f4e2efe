#include "core/node_log/node_log_session.hpp"

#include <algorithm>
#include <string_view>

#include "core/node_log/node_log_line.hpp"

namespace zvkob {
namespace {

// Log times have whole seconds, process start times do not; and the node
// writes its version line a moment after it started.
constexpr std::int64_t start_tolerance_ms = 5000;
constexpr std::size_t read_growth = 4;

}  // namespace

std::vector<std::string_view> split_log_lines(std::string_view text, bool keep_first) {
    std::vector<std::string_view> lines;
    bool first = true;
    while (!text.empty()) {
        const auto end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        if (!first || keep_first) {
            lines.push_back(line);
        }
        first = false;
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    }
    return lines;
}

namespace {

bool is_blank(std::string_view line) {
    return line.find_first_not_of(" \t") == std::string_view::npos;
}

bool is_version_line(std::string_view message) {
    return message.starts_with("version v") || message.find(" version v") != std::string_view::npos;
}

// A run begins with a version line after an empty line, or as the file's very first line.
bool opens_run(const std::vector<std::string_view>& lines, std::size_t at, bool from_file_start) {
    const bool after_blank = at == 0 ? from_file_start : is_blank(lines[at - 1]);
    return after_blank && is_version_line(read_log_line(lines[at]).message);
}

std::optional<std::size_t> last_session_start(const std::vector<std::string_view>& lines,
                                              bool from_file_start) {
    for (std::size_t at = lines.size(); at-- > 0;) {
        if (opens_run(lines, at, from_file_start)) {
            return at;
        }
    }
    return std::nullopt;
}

LogSession session_of(const std::vector<std::string_view>& lines, std::size_t start,
                      bool start_found) {
    LogSession session;
    session.start_found = start_found;
    session.lines.assign(lines.begin() + static_cast<std::ptrdiff_t>(start), lines.end());
    for (auto line = session.lines.rbegin(); line != session.lines.rend() && !session.last_utc_ms;
         ++line) {
        session.last_utc_ms = read_log_line(*line).utc_ms;
    }
    return session;
}

}  // namespace

LogSession latest_log_session(const ReadLogTail& read_tail) {
    for (std::size_t size = log_first_read;; size = std::min(size * read_growth, log_most_read)) {
        const LogTail tail = read_tail(size);
        if (!tail.failure.empty()) {
            LogSession failed;
            failed.failure = tail.failure;
            return failed;
        }
        const bool whole_file = tail.from_file_start;
        const auto lines = split_log_lines(tail.text, whole_file);
        if (const auto start = last_session_start(lines, whole_file)) {
            LogSession session = session_of(lines, *start, true);
            session.started_utc_ms = read_log_line(lines[*start]).utc_ms;
            return session;
        }
        if (whole_file || size >= log_most_read) {
            return session_of(lines, 0, whole_file);
        }
    }
}

std::vector<std::size_t> log_run_starts(const std::vector<std::string_view>& lines,
                                        bool from_file_start) {
    std::vector<std::size_t> starts;
    for (std::size_t at = 0; at < lines.size(); ++at) {
        if (opens_run(lines, at, from_file_start)) {
            starts.push_back(at);
        }
    }
    return starts;
}

bool session_began_since(const LogSession& session, std::int64_t node_started_utc_ms) {
    const std::optional<std::int64_t> telling =
        session.started_utc_ms ? session.started_utc_ms : session.last_utc_ms;
    return !telling || *telling >= node_started_utc_ms - start_tolerance_ms;
}

}  // namespace zvkob
