#include "main_window/keep_node_running.hpp"

#include <algorithm>
#include <array>
#include <string>

#include "core/time_text.hpp"
#include "main_window/background_checks.hpp"
#include "main_window/countdown.hpp"
#include "main_window/in_notification_area.hpp"
#include "main_window/node_log.hpp"
#include "main_window/shown_state.hpp"
#include "main_window/start_rule.hpp"
#include "main_window/window_menu.hpp"

namespace zvkob {
namespace {

using std::chrono::milliseconds;
using std::chrono::minutes;
constexpr milliseconds shortest_good_run = minutes(5);
constexpr std::size_t restarts_per_hour = 5;

// Every line Keep Node Running writes says that it is its decision.
void record_decision(MainWindow& w, const std::string& event) {
    w.services.history.record("Keep Node Running: " + event);
}

bool restart_armed(const MainWindow& w) {
    return w.countdown_timer.enabled() && w.countdown.for_whom() == StartRequest::keep_node_running;
}

// Stops that are not the node's own doing, or that ZV-KOB itself caused.
bool left_alone(MainWindow& w, const NodeProgram& program) {
    const char* why = program.node.life.cause() == StopCause::asked_for ? "as ZV-KOB asked it to"
                      : w.sign_out.ending() ? "while Windows ends the session"
                      : w.closing.closing() ? "while ZV-KOB is closing"
                                            : nullptr;
    if (why != nullptr) {
        record_decision(w, program.described() + " stopped " + why + "; it is left stopped.");
    }
    return why != nullptr;
}

std::string joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += (text.empty() ? "" : "\n") + line;
    }
    return text;
}

void give_up(MainWindow& w, const NodeProgram& program, const NodeStop& stop) {
    const std::string why = "the node was started again " + std::to_string(restarts_per_hour) +
                            " times within an hour and stopped each time";
    const std::string lines = joined(stop.last_lines);
    record_decision(w, "gives up: " + why + ". Last lines of its log:\n" + lines);
    tray_notice(w, NoticeKind::gave_up, "Keep Node Running gave up",
                "It started the node again " + std::to_string(restarts_per_hour) +
                    " times within an hour; the node is left stopped.");
    tell(w, "Keep Node Running gives up on " + program.described() + ": " + why + ".\n\n" +
                (lines.empty() ? stop.why : "The last lines of its log:\n" + lines) +
                "\n\nLAUNCH or START starts it again when you are ready.");
}

// A clean stop is the user's or the node's choice: a countdown that would
// start the node again is ended too.
void end_countdown_after_chosen_stop(MainWindow& w) {
    if (w.countdown_timer.enabled()) {
        disarm_countdown(w);
        record_decision(w, "the countdown is ended, so that it does not start the node again.");
    }
}

void leave_clean_stop(MainWindow& w, const std::string& stopped, const NodeStop& stop) {
    record_decision(w, stopped + " cleanly (" + stop.why + "); it is left stopped.");
    end_countdown_after_chosen_stop(w);
}

// Started again, a node stopped by a full disk or a damaged database meets
// the same error: it is left stopped, and the user is told what helps.
void leave_after_error(MainWindow& w, const NodeProgram& program, const std::string& stopped,
                       const NodeStop& stop) {
    w.services.windows.flash_main_window();
    const std::string line = stop.fatal_line.empty() ? stop.why : stop.fatal_line;
    record_decision(
        w, stopped + " after an error (" + stop.why + "): " + line + "; it is not started again.");
    tell(w, "Keep Node Running does not start " + program.described() +
                " again: it stopped after an error.\n\n" + line + "\n\n" + stop.hint +
                "\n\nLAUNCH or START starts it again when you are ready.");
}

// Someone asked the node to stop and then ended it, often because it took
// long: that was a choice to stop. It checks its database at its next start.
void leave_cut_short_stop(MainWindow& w, const NodeProgram& program, const std::string& stopped,
                          const NodeStop& stop) {
    const std::string next_start =
        "At its next start the node checks its database, which can take long.";
    record_decision(
        w, stopped + " while stopping (" + stop.why + "); it is left stopped. " + next_start);
    end_countdown_after_chosen_stop(w);
    tell(w, "Keep Node Running leaves " + program.described() +
                " stopped: it was asked to stop and was ended before it finished.\n\n" +
                next_start + "\n\nLAUNCH or START starts it again when you are ready.");
}

void arm_restart(MainWindow& w, const NodeProgram& program, const std::string& stopped,
                 const NodeStop& stop, std::int64_t ran_ms) {
    w.services.windows.flash_main_window();
    const bool short_run = program.node.started_by() == StartRequest::keep_node_running &&
                           milliseconds(ran_ms) < shortest_good_run;
    const std::optional<milliseconds> next =
        w.restarts.next_wait(short_run, w.services.clock.now_ms());
    if (!next) {
        give_up(w, program, stop);
        return;
    }
    const milliseconds wait = *next;
    arm_countdown(w, wait, StartRequest::keep_node_running);
    record_decision(w, stopped + " unexpectedly (" + stop.why + "). It is started again " +
                           (wait == milliseconds(0)
                                ? std::string("through the countdown")
                                : "after a wait of " + duration_text(wait.count()) +
                                      ", as it ran less than five minutes after its last restart") +
                           "; STOP cancels.");
    tray_notice(w, NoticeKind::restarting, "the node stopped unexpectedly",
                "Keep Node Running starts " + program.described() + " again" +
                    (wait == milliseconds(0) ? std::string(".")
                                             : " in " + duration_text(wait.count()) + "."));
}

StopCause cause_of(const NodeStop& stop) {
    switch (stop.how) {
        case HowItStopped::clean:
            return StopCause::clean;
        case HowItStopped::after_error:
            return StopCause::after_error;
        case HowItStopped::cut_short:
            return StopCause::cut_short;
        case HowItStopped::no_log:
            return StopCause::cannot_tell;
        case HowItStopped::crash:
            break;
    }
    return StopCause::crashed;
}

// A crash is started again unless something else is already on its way.
void restart_after_crash(MainWindow& w, NodeProgram& program, const std::string& stopped,
                         const NodeStop& stop, std::int64_t ran_ms) {
    if (w.countdown_timer.enabled()) {
        record_decision(
            w, stopped + " (" + stop.why + "); the countdown is armed already and starts it.");
        return;
    }
    if (const StartAnswer answer = may_start_now(w, program);
        answer.refusal == StartRefusal::session_ending ||
        answer.refusal == StartRefusal::node_runs ||
        answer.refusal == StartRefusal::node_stopping) {
        record_decision(w, stopped + "; it is not started again: " + answer.reason + ".");
        return;
    }
    arm_restart(w, program, stopped, stop, ran_ms);
}

// Decided on the node's state of now: it may run again by the time a box
// that held the decision back has closed.
bool still_to_decide(const MainWindow& w, const NodeProgram& program) {
    return w.keep_node_running.ticked() && program.chosen.ticked() &&
           program.node.life.stage() == NodeStage::stopped;
}

void decide_on(MainWindow& w, NodeProgram& program, const NodeGone& gone, const NodeStop& stop) {
    if (!still_to_decide(w, program)) {
        return;  // it runs again, or the tick was cleared, while the log was read
    }
    program.node.life.on(NodeEvent::verdict, w.services.clock.now_ms(), cause_of(stop));
    const std::string stopped =
        program.described() + " stopped after " + duration_text(gone.ran_ms);
    switch (stop.how) {
        case HowItStopped::clean:
            leave_clean_stop(w, stopped, stop);
            return;
        case HowItStopped::after_error:
            leave_after_error(w, program, stopped, stop);
            return;
        case HowItStopped::cut_short:
            leave_cut_short_stop(w, program, stopped, stop);
            return;
        case HowItStopped::no_log:
            record_decision(w, stopped + " (" + stop.why +
                                   "); with exit code 0 it is left "
                                   "stopped.");
            return;
        case HowItStopped::crash:
            restart_after_crash(w, program, stopped, stop, gone.ran_ms);
            return;
    }
}

// The node's log is read by the worker: it may sit on a slow drive.
void decide(MainWindow& w, NodeProgram& program, const NodeGone& gone) {
    if (!still_to_decide(w, program) || left_alone(w, program)) {
        return;
    }
    const std::int64_t ended_ms = gone.end ? gone.end->at_ms : w.services.clock.now_ms();
    const StoppedNode node{program.node.started_with(), w.data_folder, ended_ms - gone.ran_ms,
                           gone.end ? std::optional(gone.end->exit_code) : std::nullopt};
    check_in_background<NodeStop>(
        w, "the node's log",
        [&files = w.services.files, node] { return how_the_node_stopped(files, node); },
        [&w, &program, gone](const NodeStop& stop) { decide_on(w, program, gone, stop); });
}

}  // namespace

void node_gone(MainWindow& w, NodeProgram& program, const NodeGone& gone) {
    w.services.events.run_when_free(&program, [&w, &program, gone] {
        decide(w, program, gone);
        show_state(w);
    });
}

void end_back_off(MainWindow& w) {
    if (w.restarts.any() || restart_armed(w)) {
        record_decision(w, "the user started the node; any wait before a restart ends.");
    }
    w.restarts.forget();
}

void note_automatic_start(MainWindow& w) {
    if (w.countdown.for_whom() == StartRequest::keep_node_running) {
        w.restarts.restarted(w.services.clock.now_ms());
    }
    w.countdown.hand_back();
    if (w.keep_node_running.ticked() && w.auto_close.ticked()) {
        record_decision(w, "Auto Close leaves ZV-KOB open, to watch the node.");
    }
}

void note_countdown_stopped(MainWindow& w) {
    if (restart_armed(w)) {
        record_decision(w, "the restart was cancelled with STOP.");
    }
    w.countdown.hand_back();
}

bool auto_close_held(const MainWindow& w) {
    return w.keep_node_running.ticked();
}

void keep_node_running_clicked(MainWindow& w) {
    const bool on = !w.keep_node_running.ticked();
    w.keep_node_running.set_ticked(on);
    store_choice(w, stored::keep_node_running, on);
    record_decision(w, on ? "switched on." : "switched off.");
    if (!on && restart_armed(w)) {
        disarm_countdown(w);  // a restart it armed is not wanted any more
        w.countdown.hand_back();
        record_decision(w, "the restart it had armed is cancelled.");
    }
    show_state(w);
}

}  // namespace zvkob
