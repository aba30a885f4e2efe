#include "main_window/starting/countdown_events.hpp"

#include <optional>
#include <initializer_list>

#include "main_window/event_order.hpp"
#include "main_window/starting/launcher.hpp"
#include "main_window/shown_state.hpp"
#include "guardian/flows/starting/start_check_events.hpp"
#include "guardian/flows/starting/start_rule.hpp"

namespace zvkob {
namespace {

// Once while the process query fails, not at every zero step of the overrun.
void tell_once_nothing_is_watched(MainWindow& w, const std::string& unwatched) {
    if (!w.guardian.query_failing.tell_user_once()) {
        return;
    }
    tell(w, "ZV-KOB cannot tell " + unwatched +
                "\n\nSo the countdown starts nothing. It tries again every minute until the "
                "process query answers (STOP ends it); this message is not shown again until "
                "then.");
}

// The data folder's drive is not there or is full: the zero step waits,
// trying again each second, and STOP cancels.
void wait_to_start(MainWindow& w, const std::string& reason) {
    if (w.countdown.wait_because(reason)) {
        w.services.history.record("The countdown does not start the node yet: " + reason + ".");
    }
}

// What the start rule says of the chosen program with this answer of the
// drive check: nothing when it may start now.
std::optional<StartAnswer> refusal_of_chosen(MainWindow& w, const DriveCheck& drive) {
    for (const NodeProgram* program : w.programs()) {
        if (program->chosen.ticked()) {
            if (StartAnswer answer = may_start_now(w.engine, program->guarded, drive); !answer.allowed()) {
                return answer;
            }
        }
    }
    return std::nullopt;
}

// A drive that is not ready makes the start wait; any other refusal lets the
// countdown count on and try again in a minute.
bool chosen_may_start(MainWindow& w, const DriveCheck& drive) {
    const auto refused = refusal_of_chosen(w, drive);
    if (refused && (refused->refusal == StartRefusal::data_folder_missing ||
                    refused->refusal == StartRefusal::short_of_space)) {
        wait_to_start(w, refused->reason);
        return false;
    }
    w.countdown.stop_waiting();
    return !refused;
}

// Both programs shown stopped, as the zero step asks, and the query answering.
bool both_stopped(MainWindow& w) {
    if (const auto unwatched = unwatched_programs(w.engine)) {
        w.countdown.stop_waiting();
        tell_once_nothing_is_watched(w, *unwatched);
        return false;  // the countdown counts on and tries again in a minute
    }
    for (const NodeProgram* program : w.programs()) {
        if (!program->status.stopped() || program->status.starting()) {
            w.countdown.stop_waiting();
            return false;  // overrun: the countdown counts on and tries again in a minute
        }
    }
    return true;
}

void launch_chosen(MainWindow& w, const DriveCheck& drive) {
    if (!both_stopped(w) || !chosen_may_start(w, drive)) {
        return;
    }
    for (NodeProgram* program : w.programs()) {
        if (program->chosen.ticked()) {
            countdown_starts(w, *program);
        }
    }
}

void zero_step(MainWindow& w) {
    w.countdown.show_dashes();
    w.launch_button.set_enabled(false);
    w.settings_button.set_enabled(false);
    w.auto_start.set_enabled(false);
    w.auto_close.set_enabled(false);
    if (!data_drive_checked(w.engine)) {
        launch_chosen(w, {});
        return;
    }
    if (!both_stopped(w) || w.start_check.pending()) {
        return;
    }
    if (refusal_of_chosen(w, {})) {
        w.countdown.stop_waiting();
        return;
    }
    // The countdown holds while the drive is asked; its answer decides.
    w.start_check.begin();
    check_data_drive(w.engine, [&w](const DriveCheck& drive) {
        w.start_check.answered();
        if (w.countdown_timer.enabled()) {  // not stopped meanwhile
            launch_chosen(w, drive);
        }
    });
}

}  // namespace

void disarm_countdown(MainWindow& w) {
    if (w.countdown.waiting()) {
        w.countdown.stop_waiting();
        w.countdown.show_dashes();
    }
    w.start_stop_button.set_text("START");
    lock_for_countdown(w, false);
    w.countdown_timer.set_enabled(false);
}

void arm_countdown(MainWindow& w, std::chrono::milliseconds wait, StartRequest requester) {
    w.countdown.arm(requester, wait);
    w.start_stop_button.set_text("STOP");
    lock_for_countdown(w, true);
    w.countdown_timer.set_enabled(true);
}

void settle_with_nothing_chosen(MainWindow& w) {
    w.start_stop_button.set_text("START");
    w.auto_start.set_enabled(false);
    w.auto_close.set_enabled(false);
    w.countdown_timer.set_enabled(false);
    w.qt.chosen.set_enabled(true);
    w.daemon.chosen.set_enabled(true);
}

void lock_for_countdown(MainWindow& w, bool locked) {
    for (Control* control :
         std::initializer_list<Control*>{&w.auto_start, &w.auto_close, &w.launch_button,
                                         &w.settings_button, &w.qt.chosen, &w.daemon.chosen}) {
        control->set_enabled(!locked);
    }
}

void countdown_tick(MainWindow& w) {
    one_look(w, [&w] {
        if (w.start_check.pending()) {
            // the drive's answer is awaited: the countdown holds
        } else if (w.countdown.waiting()) {
            zero_step(w);  // tries again each second, without counting on
        } else {
            if (w.countdown.step() == "00") {
                zero_step(w);
            }
        }
        show_state(w);
    });
}

}  // namespace zvkob
