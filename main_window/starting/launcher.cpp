#include "main_window/starting/launcher.hpp"

#include "core/processes/batch_node_line.hpp"
#include "core/processes/exit_code_text.hpp"
#include "core/power/node_priority.hpp"
#include "main_window/event_order.hpp"
#include "main_window/shown_state.hpp"
#include "guardian/flows/starting/failed_start.hpp"
#include "guardian/flows/starting/start_check_events.hpp"
#include "guardian/flows/starting/start_rule.hpp"

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
        case StartRequest::mains_restart:  // the history has always named the countdown
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

// The message's first paragraphs; what follows depends on the node's log.
std::string ended_at_once_opening(std::string_view program, std::string_view command,
                                  unsigned long code) {
    return "ZV-KOB started the " + std::string(program) +
           " program's batch file, but it ended at once with exit code " + exit_code_text(code) +
           ": " + exit_code_meaning(code) + ".\n\nCommand: " + command_text(command) + "\n\n";
}

// The line of the batch file a node is started by: where its log is follows
// from it, until the node's own command line is known.
std::string batch_line(MainWindow& w, const NodeProgram& program) {
    const std::string text =
        w.services.files.read_text(program.batch_path, TextCoding::console).value_or(std::string());
    return batch_node_line(text, program.image);
}

// LAUNCH with the data folder missing starts nothing; with space short it asks.
bool drive_lets_launch(MainWindow& w, const StartAnswer& answer) {
    if (answer.refusal == StartRefusal::data_folder_missing) {
        w.services.history.record("LAUNCH started nothing: the data folder " + w.data_folder +
                                  " is not there.");
        tell(w, "The node's data folder " + w.data_folder +
                    " is not there. Is its drive connected?\n\nLAUNCH starts nothing: a node "
                    "started without it would begin a fresh copy of the chain elsewhere.");
        return false;
    }
    const LookWhileWaiting waiting(w);
    const bool anyway = w.services.notifier.ask(
        "Only " + space_text(answer.free_bytes) + " is free on the drive of " + w.data_folder +
        ". A node needs room to write its data; on a full disk it stops again or damages its "
        "data.\n\nStart it anyway?");
    w.services.history.record(
        "LAUNCH: " + space_text(answer.free_bytes) + " free on the drive of " + w.data_folder +
        (anyway ? "; the user starts the node anyway." : "; the user does not start the node."));
    return anyway;
}

// With the data drive checked first, the launch follows its answer.
void launch_chosen(MainWindow& w, NodeProgram& program) {
    if (program.status.starting() || w.start_check.pending()) {
        return;  // a click queued behind the one that started it, or that checks the drive
    }
    if (!data_drive_checked(w.engine)) {
        launch_by_hand(w, program, {});
        return;
    }
    w.start_check.begin();
    check_data_drive(w.engine, [&w, &program](const DriveCheck& drive) {
        w.start_check.answered();
        launch_by_hand(w, program, drive);
    });
}

}  // namespace

bool launch_allowed(MainWindow& w, const NodeProgram& program, const DriveCheck& drive) {
    const StartAnswer answer = may_start_now(w.engine, program.guarded, drive);
    switch (answer.refusal) {
        case StartRefusal::none:
            return true;
        case StartRefusal::data_folder_missing:
        case StartRefusal::short_of_space:
            return drive_lets_launch(w, answer);
        case StartRefusal::session_ending:
            tell(w, "Windows is ending the session, so LAUNCH starts nothing.");
            return false;
        case StartRefusal::node_runs:
        case StartRefusal::node_stopping:
        case StartRefusal::not_watched:
            break;
    }
    tell(w, "LAUNCH starts nothing: " + answer.reason + ".");
    return false;
}

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

LaunchResult launch_step(MainWindow& w, NodeProgram& program, StartRequest requester, Colour during,
                         Colour after) {
    if (w.guardian.sign_out.ending()) {
        return LaunchResult::not_allowed;
    }
    const std::string& command = program.batch_path;
    const std::string started = requester_text(requester) + " started the " +
                                std::string(program.name) + " program: " + command_text(command);
    w.indicator = during;
    show_state(w);
    // The window waits on the start and its pause: the indicator shows through them.
    const LookWhileWaiting starting(w);
    const std::int64_t start_ms = w.services.clock.now_ms();
    const Start start =
        w.services.runner.run_hidden(command, priority_at_start(w.low_priority.ticked()));
    if (!start.started()) {
        // Back at rest before the message, so the window behind it is true.
        w.indicator = colours::pink;
        w.services.history.record(started + " - it could not start: " + start.failure);
        tell(w, start_failure_message(program.name, command, start.failure));
        return LaunchResult::failed;
    }
    program.status.mark_starting();
    program.node.start_through(start.process, requester, batch_line(w, program),
                               w.services.clock.now_ms());
    w.services.pause.pause(launch_pause_ms);
    // A batch file whose program is missing has ended by now, with an error.
    if (const auto end = start.process->end(); end && end->exit_code != 0) {
        program.node.start_failed(w.services.clock.now_ms());
        w.indicator = colours::pink;
        w.services.history.record(started + " - it ended at once with exit code " +
                                  exit_code_text(end->exit_code) + " (" +
                                  exit_code_meaning(end->exit_code) + ")");
        explain_failed_start(w.engine, program.guarded,
                             {program.node.started_with(), w.data_folder, start_ms, end->exit_code},
                             ended_at_once_opening(program.name, command, end->exit_code));
        return LaunchResult::failed;
    }
    w.indicator = after;
    show_state(w);
    w.services.history.record(started + " (process " + std::to_string(start.process->id()) + ")");
    return LaunchResult::started;
}

void launch_click(MainWindow& w) {
    if (const auto unwatched = unwatched_programs(w.engine)) {
        tell(w, "ZV-KOB cannot tell " + *unwatched +
                    "\n\nSo LAUNCH starts nothing. ZV-KOB asks again twice a second; press "
                    "LAUNCH once the status shows again.");
        return;
    }
    // Read once: the statuses are not looked at again between the two launches.
    const bool one_stopped = w.qt.status.stopped() || w.daemon.status.stopped();
    if (!one_stopped) {
        return;
    }
    for (NodeProgram* program : w.programs()) {
        if (program->chosen.ticked()) {
            launch_chosen(w, *program);
        }
    }
    show_state(w);
}

}  // namespace zvkob
