#include "main_window/countdown.hpp"

#include <cstdio>
#include <initializer_list>

#include "main_window/keep_node_running.hpp"
#include "main_window/launcher.hpp"
#include "main_window/shown_state.hpp"
#include "main_window/start_rule.hpp"

namespace zvkob {
namespace {

// A program the countdown started arms auto-close. A start that failed stops
// the countdown too, so the same failure is not met again every minute, but
// arms nothing: there is no automatic start for auto-close to finish.
void launch_automatically(MainWindow& w, NodeProgram& program) {
    switch (launch_step(w, program, w.countdown_for, colours::yellow, colours::green)) {
        case LaunchResult::started:
            note_automatic_start(w);
            w.auto_close_timer.set_enabled(true);
            w.countdown_timer.set_enabled(false);
            break;
        case LaunchResult::failed:
            w.countdown_timer.set_enabled(false);
            break;
        case LaunchResult::not_allowed:
            break;  // the countdown runs on, should the session go on after all
    }
}

// Once while the process query fails, not at every zero step of the overrun.
void tell_once_nothing_is_watched(MainWindow& w, const std::string& unwatched) {
    if (w.told_nothing_is_watched) {
        return;
    }
    w.told_nothing_is_watched = true;
    tell(w, "ZV-KOB cannot tell " + unwatched +
                "\n\nSo the countdown starts nothing. It tries again every minute until the "
                "process query answers (STOP ends it); this message is not shown again until "
                "then.");
}

// The data folder's drive is not there or is full: the zero step waits,
// trying again each second, and STOP cancels.
void wait_to_start(MainWindow& w, const std::string& reason) {
    if (reason != w.waiting_to_start) {
        w.services.history.record("The countdown does not start the node yet: " + reason + ".");
    }
    w.waiting_to_start = reason;
}

// What the start rule says of the chosen program; true when it may start now.
bool chosen_may_start(MainWindow& w) {
    for (const NodeProgram* program : w.programs()) {
        if (!program->chosen.ticked()) {
            continue;
        }
        const StartAnswer answer = may_start_now(w, *program);
        switch (answer.refusal) {
            case StartRefusal::none:
                break;
            case StartRefusal::data_folder_missing:
            case StartRefusal::short_of_space:
                wait_to_start(w, answer.reason);
                return false;
            default:
                w.waiting_to_start.reset();
                return false;  // the countdown counts on and tries again in a minute
        }
    }
    w.waiting_to_start.reset();
    return true;
}

void zero_step(MainWindow& w) {
    w.countdown_shown = "-- --";
    w.launch_button.set_enabled(false);
    w.settings_button.set_enabled(false);
    w.auto_start.set_enabled(false);
    w.auto_close.set_enabled(false);
    if (const auto unwatched = unwatched_programs(w)) {
        w.waiting_to_start.reset();
        tell_once_nothing_is_watched(w, *unwatched);
        return;  // the countdown counts on and tries again in a minute
    }
    for (const NodeProgram* program : w.programs()) {
        if (!program->status.stopped() || program->status.starting()) {
            w.waiting_to_start.reset();
            return;  // overrun: the countdown counts on and tries again in a minute
        }
    }
    if (!chosen_may_start(w)) {
        return;
    }
    for (NodeProgram* program : w.programs()) {
        if (program->chosen.ticked()) {
            launch_automatically(w, *program);
        }
    }
}

}  // namespace

void disarm_countdown(MainWindow& w) {
    if (w.waiting_to_start) {
        w.waiting_to_start.reset();
        w.countdown_shown = "-- --";
    }
    w.start_stop_button.set_text("START");
    lock_for_countdown(w, false);
    w.countdown_timer.set_enabled(false);
}

void arm_countdown(MainWindow& w, std::chrono::milliseconds wait, StartRequest requester) {
    w.countdown_remaining = countdown_start + wait;
    w.countdown_for = requester;
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

// Whole seconds, rounded as the display always has: to the nearest.
std::string countdown_text(std::chrono::milliseconds remaining) {
    const long long total =
        std::chrono::round<std::chrono::seconds>(std::chrono::abs(remaining)).count();
    char text[24];
    if (remaining.count() > 0 && total >= 60) {
        std::snprintf(text, sizeof text, "%lld:%02lld", total / 60, total % 60);
    } else {
        std::snprintf(text, sizeof text, "%02lld", total % 60);
    }
    return text;
}

void start_stop_click(MainWindow& w) {
    if (!w.qt.chosen.ticked() && !w.daemon.chosen.ticked()) {
        settle_with_nothing_chosen(w);
    } else if (w.start_stop_button.text() == "STOP") {
        note_countdown_stopped(w);
        disarm_countdown(w);
    } else {
        end_back_off(w);
        arm_countdown(w, std::chrono::milliseconds(0), StartRequest::countdown);
    }
    show_state(w);
}

void countdown_tick(MainWindow& w) {
    if (w.waiting_to_start) {
        zero_step(w);  // tries again each second, without counting on
    } else {
        w.countdown_remaining -= std::chrono::seconds(1);
        w.countdown_shown = countdown_text(w.countdown_remaining);
        if (w.countdown_shown == "00") {
            zero_step(w);
        }
    }
    show_state(w);
}

}  // namespace zvkob
