#include "core/node_log/node_stop_verdict.hpp"

#include <algorithm>
#include <cstddef>

#include "core/processes/exit_code_text.hpp"
#include "core/node_log/node_log_line.hpp"
#include "core/node_log/node_run_end.hpp"
#include "core/shown_text.hpp"

namespace zvkob {
namespace {

std::string_view without_trailing_spaces(std::string_view text) {
    const auto last = text.find_last_not_of(" \t");
    return last == text.npos ? std::string_view() : text.substr(0, last + 1);
}

bool is_blank(std::string_view line) {
    return without_trailing_spaces(line).empty();
}

std::vector<std::string> last_lines(const std::vector<std::string>& lines) {
    std::vector<std::string> shown;
    for (auto line = lines.rbegin(); line != lines.rend() && shown.size() < stop_lines_shown;
         ++line) {
        if (!is_blank(*line)) {
            shown.push_back(shown_text(*line, stop_line_characters));
        }
    }
    std::ranges::reverse(shown);
    return shown;
}

std::string exit_note(std::optional<unsigned long> exit_code) {
    return exit_code ? " (the node exited with code " + exit_code_text(*exit_code) + ")"
                     : " (its exit code is not known)";
}

std::string message_of(const std::string& line) {
    return std::string(without_trailing_spaces(read_log_line(line).message));
}

std::string clean_why(std::string_view log_path, const LogSession& session, std::size_t done) {
    const bool last =
        std::all_of(session.lines.begin() + static_cast<std::ptrdiff_t>(done) + 1,
                    session.lines.end(), [](const std::string& l) { return is_blank(l); });
    const std::string done_message = message_of(session.lines[done]);
    return std::string(log_path) +
           (last ? " ends with " + done_message : " shows " + done_message + " near its end");
}

std::string crash_why(std::string_view log_path, std::optional<unsigned long> exit_code) {
    return std::string(log_path) +
           " has no shutdown line after the node's last start: it was ended or crashed" +
           exit_note(exit_code);
}

// Someone asked the node to stop (its own window closed, stop over RPC,
// Ctrl+C in its console), and it was then ended, often because it took long.
std::string cut_short_why(std::string_view log_path, const LogSession& session,
                          std::size_t in_progress, std::optional<unsigned long> exit_code) {
    return std::string(log_path) + " shows " + message_of(session.lines[in_progress]) +
           " but no done line: the node was asked to stop and ended before it finished" +
           exit_note(exit_code);
}

}  // namespace

NodeStop node_stop_verdict(std::string_view log_path, const LogSession& session,
                           std::optional<unsigned long> exit_code) {
    const std::string path(log_path);
    if (!session.failure.empty()) {
        return stop_without_log(path + " cannot be read: " + session.failure, exit_code);
    }
    if (std::ranges::all_of(session.lines, [](const std::string& l) { return is_blank(l); })) {
        return stop_without_log(path + " is empty", exit_code);
    }
    const RunEnd end = read_run_end(session.lines);
    NodeStop stop;
    stop.last_lines = last_lines(session.lines);
    if (end.deciding_error) {
        const std::string& line = session.lines[*end.deciding_error];
        stop.how = HowItStopped::after_error;
        stop.why = path + " shows a fatal error" + exit_note(exit_code);
        stop.fatal_line = shown_text(line, line.size());
        stop.hint = advice_for(end.trouble, end.node_advice);
    } else if (end.done && exit_code.value_or(0) != 0) {
        stop.how = HowItStopped::after_error;
        stop.why = clean_why(log_path, session, *end.done) + ", but the node exited with code " +
                   exit_code_text(*exit_code);
        stop.hint = advice_for(TroubleKind::other, {});
    } else if (end.done) {
        stop.how = HowItStopped::clean;
        stop.why = clean_why(log_path, session, *end.done);
    } else if (end.last_in_progress) {
        stop.how = HowItStopped::cut_short;
        stop.why = cut_short_why(log_path, session, *end.last_in_progress, exit_code);
    } else {
        stop.how = HowItStopped::crash;
        stop.why = crash_why(log_path, exit_code);
    }
    return stop;
}

NodeStop stop_without_log(std::string_view reason, std::optional<unsigned long> exit_code) {
    NodeStop stop;
    stop.how = exit_code == 0UL ? HowItStopped::no_log : HowItStopped::crash;
    stop.why = std::string(reason) + exit_note(exit_code);
    return stop;
}

}  // namespace zvkob
