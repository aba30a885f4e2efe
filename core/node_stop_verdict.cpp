#include "core/node_stop_verdict.hpp"

#include <algorithm>
#include <array>
#include <cstddef>
#include <span>

#include "core/exit_code_text.hpp"
#include "core/node_log_line.hpp"
#include "core/shown_text.hpp"

namespace zvkob {
namespace {

using Phrases = std::span<const std::string_view>;
using std::string_view_literals::operator""sv;

// Up to version 29 and in the forks, then from 30 on.
constexpr std::array in_progress_messages = {"Shutdown: In progress..."sv,
                                             "Shutdown in progress..."sv};
constexpr std::array done_messages = {"Shutdown: done"sv, "Shutdown done"sv};

constexpr std::array fatal_beginnings = {"*** "sv, "Error: "sv};
constexpr std::array disk_errors = {"Disk space is too low"sv,
                                    "Shutting down due to lack of disk space"sv};
constexpr std::array database_errors = {"Corrupted block database detected"sv,
                                        "Error reading from database"sv, "Fatal LevelDB error"sv};
constexpr std::string_view internal_error = "A fatal internal error occurred";

constexpr std::string_view disk_hint = "Free space on the drive that holds the node's data.";
constexpr std::string_view database_hint =
    "Start the node once by hand with -reindex: it rebuilds its database, which takes hours.";
constexpr std::string_view general_hint = "Read the node's log for the cause before starting it.";

bool contains_any(std::string_view text, Phrases phrases) {
    return std::ranges::any_of(
        phrases, [text](std::string_view phrase) { return text.find(phrase) != text.npos; });
}

bool starts_with_any(std::string_view text, Phrases phrases) {
    return std::ranges::any_of(
        phrases, [text](std::string_view phrase) { return text.starts_with(phrase); });
}

bool is_any_of(std::string_view text, Phrases phrases) {
    return std::ranges::find(phrases, text) != phrases.end();
}

std::string_view without_trailing_spaces(std::string_view text) {
    const auto last = text.find_last_not_of(" \t");
    return last == text.npos ? std::string_view() : text.substr(0, last + 1);
}

std::string_view hint_for(std::string_view fatal_line) {
    if (contains_any(fatal_line, disk_errors)) {
        return disk_hint;
    }
    return contains_any(fatal_line, database_errors) ? database_hint : general_hint;
}

// What the session's lines say about its end.
struct SessionEnd {
    std::optional<std::size_t> last_in_progress;
    std::optional<std::size_t> done;  // the first done line after the last in-progress line
    std::optional<std::size_t> first_fatal;
};

SessionEnd session_end(const std::vector<std::string>& lines) {
    SessionEnd end;
    for (std::size_t at = 0; at < lines.size(); ++at) {
        const LogLine line = read_log_line(lines[at]);
        const std::string_view message = without_trailing_spaces(line.message);
        if (is_any_of(message, in_progress_messages)) {
            end.last_in_progress = at;
            end.done.reset();
        } else if (!end.done && is_any_of(message, done_messages)) {
            end.done = at;
        }
        if (!end.first_fatal && is_fatal_log_line(line)) {
            end.first_fatal = at;
        }
    }
    return end;
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

std::string crash_why(std::string_view log_path, const LogSession& session, const SessionEnd& end,
                      std::optional<unsigned long> exit_code) {
    const std::string path(log_path);
    if (end.last_in_progress) {
        return path + " shows " + message_of(session.lines[*end.last_in_progress]) +
               " but no done line: the node was ended before it finished stopping" +
               exit_note(exit_code);
    }
    return path + " has no shutdown line after the node's last start: it was ended or crashed" +
           exit_note(exit_code);
}

}  // namespace

bool is_fatal_log_line(const LogLine& line) {
    return line.error_level || starts_with_any(line.message, fatal_beginnings) ||
           line.message.find(internal_error) != line.message.npos ||
           contains_any(line.message, disk_errors) || contains_any(line.message, database_errors);
}

NodeStop node_stop_verdict(std::string_view log_path, const LogSession& session,
                           std::optional<unsigned long> exit_code) {
    const std::string path(log_path);
    if (!session.failure.empty()) {
        return stop_without_log(path + " cannot be read: " + session.failure, exit_code);
    }
    if (std::ranges::all_of(session.lines, [](const std::string& l) { return is_blank(l); })) {
        return stop_without_log(path + " is empty", exit_code);
    }
    const SessionEnd end = session_end(session.lines);
    NodeStop stop;
    stop.last_lines = last_lines(session.lines);
    if (end.first_fatal) {
        const std::string& line = session.lines[*end.first_fatal];
        stop.how = HowItStopped::after_error;
        stop.why = path + " shows a fatal error" + exit_note(exit_code);
        stop.fatal_line = shown_text(line, line.size());
        stop.hint = hint_for(line);
    } else if (end.done && exit_code.value_or(0) != 0) {
        stop.how = HowItStopped::after_error;
        stop.why = clean_why(log_path, session, *end.done) + ", but the node exited with code " +
                   exit_code_text(*exit_code);
        stop.hint = general_hint;
    } else if (end.done) {
        stop.how = HowItStopped::clean;
        stop.why = clean_why(log_path, session, *end.done);
    } else {
        stop.how = HowItStopped::crash;
        stop.why = crash_why(log_path, session, end, exit_code);
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
