#include "main_window/countdown.hpp"

#include <cmath>
#include <cstdio>
#include <initializer_list>

#include "main_window/launcher.hpp"

namespace zvkob {
namespace {

void settle_without_launch_mode(MainWindow& w) {
    w.START_STOP_BUTTON.set_text("START");
    w.AUTOSTART_TICKBOX.set_enabled(false);
    w.AUTOCLOSE_TIMER_TICKBOX.set_enabled(false);
    w.COUNTDOWN_TIMER.set_enabled(false);
    w.USE_QT_BAT_TICKBOX.set_enabled(true);
    w.USE_DAEMON_BAT_TICKBOX.set_enabled(true);
}

void disarm(MainWindow& w) {
    w.START_STOP_BUTTON.set_text("START");
    lock_for_countdown(w, false);
    w.COUNTDOWN_TIMER.set_enabled(false);
}

void arm(MainWindow& w) {
    w.COUNTDOWN_REMAINING = countdown_start_days;
    w.START_STOP_BUTTON.set_text("STOP");
    lock_for_countdown(w, true);
    w.COUNTDOWN_TIMER.set_enabled(true);
}

// A program the countdown started arms auto-close. A start that failed stops
// the countdown too, so the same failure is not met again every minute, but
// arms nothing: there is no automatic start for auto-close to finish.
void launch_automatically(MainWindow& w, ProcessStatus& status, std::string_view program,
                          const std::string& command) {
    switch (launch_step(w, status, program, command, colours::yellow, colours::green)) {
        case LaunchResult::started:
            w.UNLOAD_TIMER.set_enabled(true);
            w.COUNTDOWN_TIMER.set_enabled(false);
            break;
        case LaunchResult::failed:
            w.COUNTDOWN_TIMER.set_enabled(false);
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
    w.services.notifier.show_error(
        "ZV-KOB cannot tell " + unwatched +
        "\n\nSo the countdown starts nothing. It tries again every minute until the process "
        "query answers (STOP ends it); this message is not shown again until then.");
}

void zero_step(MainWindow& w) {
    w.AUTORUN_TIMER_TEXTBOX.set_text("-- --");
    w.LAUNCH_BUTTON.set_enabled(false);
    w.SETTINGS_BUTTON.set_enabled(false);
    w.AUTOSTART_TICKBOX.set_enabled(false);
    w.AUTOCLOSE_TIMER_TICKBOX.set_enabled(false);
    if (const auto unwatched = unwatched_programs(w)) {
        tell_once_nothing_is_watched(w, *unwatched);
        return;  // the countdown counts on and tries again in a minute
    }
    if (!w.qt_status.stopped() || !w.daemon_status.stopped() || w.qt_status.starting() ||
        w.daemon_status.starting()) {
        return;  // overrun: the countdown counts on and tries again in a minute
    }
    if (w.USE_QT_BAT_TICKBOX.tick() == 1) {
        launch_automatically(w, w.qt_status, "QT", w.BAT_QT_RUN_COMMAND_TEXTBOX.text());
    }
    if (w.USE_DAEMON_BAT_TICKBOX.tick() == 1) {
        launch_automatically(w, w.daemon_status, "DAEMON", w.BAT_DAEMON_RUN_COMMAND_TEXTBOX.text());
    }
}

}  // namespace

void lock_for_countdown(MainWindow& w, bool locked) {
    const std::initializer_list<Control*> lockable{
        &w.AUTOSTART_TICKBOX, &w.AUTOCLOSE_TIMER_TICKBOX, &w.LAUNCH_BUTTON,
        &w.SETTINGS_BUTTON,   &w.USE_QT_BAT_TICKBOX,      &w.USE_DAEMON_BAT_TICKBOX};
    for (Control* control : lockable) {
        control->set_enabled(!locked);
    }
}

std::string countdown_seconds_text(double days) {
    const long long seconds = std::llround(std::fabs(days) * 86400.0) % 60;
    char text[3];
    std::snprintf(text, sizeof text, "%02lld", seconds);
    return text;
}

void start_stop_click(MainWindow& w) {
    if (w.USE_QT_BAT_TICKBOX.tick() == 0 && w.USE_DAEMON_BAT_TICKBOX.tick() == 0) {
        settle_without_launch_mode(w);
    } else if (w.START_STOP_BUTTON.text() == "STOP") {
        disarm(w);
    } else {
        arm(w);
    }
}

void countdown_tick(MainWindow& w) {
    w.COUNTDOWN_REMAINING -= 1.0 / 24.0 / 60.0 / 60.0;
    w.AUTORUN_TIMER_TEXTBOX.set_text(countdown_seconds_text(w.COUNTDOWN_REMAINING));
    if (w.AUTORUN_TIMER_TEXTBOX.text() == "00") {
        zero_step(w);
    }
}

}  // namespace zvkob
