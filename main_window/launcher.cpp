#include "main_window/launcher.hpp"

#include <cstdio>

#include "main_window/keep_node_running.hpp"
#include "main_window/start_checks.hpp"

namespace zvkob {
namespace {

constexpr int launch_pause_ms = 3000;

std::string command_text(std::string_view command) {
    return command.empty() ? std::string("(none is set)") : std::string(command);
}

std::string requester_text(StartRequest requester) {
    switch (requester) {
        case StartRequest::launch:
            return "LAUNCH";
        case StartRequest::countdown:
            return "The countdown";
        case StartRequest::keep_node_running:
            break;
    }
    return "Keep Node Running";
}

std::string start_failure_message(std::string_view program, std::string_view command,
                                  std::string_view reason) {
    return "ZV-KOB could not start the " + std::string(program) +
           " program.\n\nCommand: " + command_text(command) + "\nReason: " + std::string(reason) +
           "\n\nCheck the settings and the .BAT files, then try again.";
}

std::string exit_code_text(unsigned long code) {
    std::string text = std::to_string(code);
    if (code > 0xFFFF) {
        char hex[32];
        std::snprintf(hex, sizeof hex, " (0x%08lX)", code);
        text += hex;
    }
    return text;
}

std::string ended_at_once_message(std::string_view program, std::string_view command,
                                  unsigned long code) {
    return "ZV-KOB started the " + std::string(program) +
           " program's batch file, but it ended at once with exit code " + exit_code_text(code) +
           ": " + exit_code_meaning(code) + ".\n\nCommand: " + command_text(command) +
           "\n\nCheck the " + std::string(program) + " Folder and " + std::string(program) +
           " Filename in Settings, press \"Save To Registry\" and \"Save .BAT Files\", then try "
           "again.";
}

// A manual launch stops the countdown, unless the launch was not even tried.
void launch_by_hand(MainWindow& w, NodeProgram& program) {
    if (program.status.starting()) {
        return;  // a click queued behind the one that started it
    }
    if (launch_step(w, program, StartRequest::launch, colours::cyan, colours::pink) !=
        LaunchResult::not_allowed) {
        w.countdown_timer.set_enabled(false);
    }
}

}  // namespace

std::string exit_code_meaning(unsigned long code) {
    switch (code) {
        case 1:
            return "the command failed";
        case 2:
            return "the file was not found";
        case 3:
            return "the path was not found";
        case 5:
            return "access was denied";
        case 9009:
            return "the program was not found";
        default:
            return "the program reported an error";
    }
}

std::optional<std::string> unwatched_programs(const MainWindow& w) {
    const std::string& qt = w.qt.status.query_failure();
    const std::string& daemon = w.daemon.status.query_failure();
    if (qt.empty() && daemon.empty()) {
        return std::nullopt;
    }
    const char* programs = qt.empty()       ? "the DAEMON program runs"
                           : daemon.empty() ? "the QT program runs"
                                            : "the QT and DAEMON programs run";
    return std::string("whether ") + programs + ".\n\n" + (qt.empty() ? daemon : qt);
}

LaunchResult launch_step(MainWindow& w, NodeProgram& program, StartRequest requester, Colour during,
                         Colour after) {
    if (w.session_ending) {
        return LaunchResult::not_allowed;
    }
    const std::string& command = program.batch_path;
    const std::string started = requester_text(requester) + " started the " +
                                std::string(program.name) + " program: " + command_text(command);
    w.countdown_display.set_back_colour(during);
    const Start start = w.services.runner.run_hidden(command);
    if (!start.started()) {
        // Back at rest before the message, so the window behind it is true.
        w.countdown_display.set_back_colour(colours::pink);
        w.services.history.record(started + " - it could not start: " + start.failure);
        w.services.notifier.show_error(start_failure_message(program.name, command, start.failure));
        return LaunchResult::failed;
    }
    program.status.mark_starting();
    program.started_by = requester;
    program.started = start.process;
    w.services.pause.pause(launch_pause_ms);
    // A batch file whose program is missing has ended by now, with an error.
    if (const auto code = start.process->exit_code(); code && *code != 0) {
        w.countdown_display.set_back_colour(colours::pink);
        w.services.history.record(started + " - it ended at once with exit code " +
                                  exit_code_text(*code) + " (" + exit_code_meaning(*code) + ")");
        w.services.notifier.show_error(ended_at_once_message(program.name, command, *code));
        return LaunchResult::failed;
    }
    w.countdown_display.set_back_colour(after);
    w.services.history.record(started + " (process " + std::to_string(start.process->id()) + ")");
    return LaunchResult::started;
}

void launch_click(MainWindow& w) {
    if (const auto unwatched = unwatched_programs(w)) {
        w.services.notifier.show_error("ZV-KOB cannot tell " + *unwatched +
                                       "\n\nSo LAUNCH starts nothing. ZV-KOB asks again twice a "
                                       "second; press LAUNCH once the status shows again.");
        return;
    }
    // Read once: the statuses are not looked at again between the two launches.
    const bool one_stopped = w.qt.status.stopped() || w.daemon.status.stopped();
    if (!one_stopped) {
        return;
    }
    if (!launch_may_go_on(w)) {
        return;
    }
    end_back_off(w);
    for (NodeProgram* program : w.programs()) {
        if (program->chosen.ticked()) {
            launch_by_hand(w, *program);
        }
    }
}

}  // namespace zvkob
