#include "main_window/node_log.hpp"

#include <algorithm>

namespace zvkob {
namespace {

constexpr std::size_t end_to_read = 64 * 1024;
// A node writes its log from its first moment; the watcher may see it running
// only seconds later (after the pause that follows a start).
constexpr std::int64_t seen_late_by_ms = 5000;
constexpr int lines_to_show = 10;

std::string_view without_trailing_blanks(std::string_view text) {
    const auto last = text.find_last_not_of(" \t\r\n");
    return last == std::string_view::npos ? std::string_view() : text.substr(0, last + 1);
}

std::string last_lines(std::string_view text, int count) {
    std::size_t start = text.size();
    for (int line = 0; line < count && start > 0; ++line) {
        const auto newline = text.rfind('\n', start - 1);
        start = newline == std::string_view::npos ? 0 : newline;
    }
    return std::string(without_trailing_blanks(text.substr(start == 0 ? 0 : start + 1)));
}

}  // namespace

StopVerdict how_the_node_stopped(FileSystem& files, const std::string& data_folder,
                                 std::int64_t running_since_ms) {
    if (data_folder.empty()) {
        return {false, "no data folder is set, so its debug.log cannot be found", {}};
    }
    const auto logs = files.files_named(data_folder, "debug.log");
    if (logs.empty()) {
        return {false, "there is no debug.log in " + data_folder, {}};
    }
    const FoundFile& log = *std::max_element(
        logs.begin(), logs.end(),
        [](const FoundFile& a, const FoundFile& b) { return a.written_ms < b.written_ms; });
    if (log.written_ms < running_since_ms - seen_late_by_ms) {
        return {false, log.path + " was not written to while it ran", {}};
    }
    const FileEnd end = files.read_end(log.path, end_to_read);
    if (!end.failure.empty()) {
        return {false, log.path + " cannot be read: " + end.failure, {}};
    }
    const std::string_view text = without_trailing_blanks(end.text);
    if (text.empty()) {
        return {false, log.path + " is empty", {}};
    }
    const std::string tail = last_lines(text, lines_to_show);
    if (last_lines(text, 1).ends_with("Shutdown: done")) {
        return {true, log.path + " ends with Shutdown: done", tail};
    }
    return {false, log.path + " does not end with Shutdown: done", tail};
}

}  // namespace zvkob
