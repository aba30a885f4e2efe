#include "main_window/shown_state.hpp"

#include <utility>

#include "core/node_state/node_progress_text.hpp"
#include "core/text_lines.hpp"
#include "guardian/flows/node_state_now.hpp"
#include "main_window/in_notification_area.hpp"

namespace zvkob {
namespace {

constexpr char held_tip[] =
    "Keep Node Running is on: ZV-KOB stays open after an automatic start, to start the node "
    "again should it stop.";

// The program whose node is asked to stop, QT first.
const ProgramSnapshot* stopping_program(const GuardianSnapshot& guardian) {
    for (const ProgramSnapshot* program : {&guardian.qt, &guardian.daemon}) {
        if (!program->stopping_tip.empty()) {
            return program;
        }
    }
    return nullptr;
}

// The taskbar button follows the node's progress while it is shown; a start
// that waits for the data folder pauses it.
TaskbarProgress taskbar_shown(const MainWindow& w, const GuardianSnapshot& guardian) {
    if (!w.show_progress.ticked()) {
        return {};
    }
    const bool waiting = w.countdown_timer.enabled() && w.countdown.waiting().has_value();
    return taskbar_progress(guardian.followed ? guardian.followed->state : NodeProgressState{},
                            waiting);
}

// Auto Close is ticked but does not act while Keep Node Running is on.
bool auto_close_waits(const MainWindow& w) {
    return w.keep_node_running.ticked() && w.auto_close.ticked();
}

}  // namespace

ShownState what_the_window_shows(const MainWindow& w, std::int64_t now_ms) {
    const GuardianSnapshot guardian = guardian_snapshot(w.engine, now_ms);
    ShownState shown;
    shown.display_colour = w.indicator;
    const ProgramSnapshot* stopping = stopping_program(guardian);
    const bool counting = w.countdown_timer.enabled();
    for (const std::string& what : guardian.checking) {
        add_line(shown.display_tip, "ZV-KOB is checking " + what + "\u2026");
    }
    if (counting && w.countdown.waiting()) {
        shown.display_text = "wait";
        add_line(shown.display_tip, "ZV-KOB is " + *w.countdown.waiting() + "; STOP cancels.");
    } else if (!counting && stopping != nullptr) {
        shown.display_text = "stop";
    } else {
        shown.display_text = w.countdown.shown();
    }
    if (stopping != nullptr) {
        add_line(shown.display_tip, stopping->stopping_tip);
    }
    if (auto_close_waits(w)) {
        shown.auto_close_tip = held_tip;
        if (w.auto_close_timer.enabled()) {
            add_line(shown.display_tip, held_tip);
        }
    }
    shown.qt_tip = guardian.qt.tip;
    shown.daemon_tip = w.service_view
                           ? "Guarded by this copy's service before and after sign-in.\n" +
                                 w.service_view->tip
                           : guardian.daemon.tip;
    shown.taskbar = taskbar_shown(w, guardian);
    shown.tray_icon = wanted_tray_icon(w, guardian);
    return shown;
}

namespace {

void show_state_now(MainWindow& w) {
    w.look_due = false;
    const ShownState shown = what_the_window_shows(w, w.services.clock.now_ms());
    w.countdown_display.set_back_colour(shown.display_colour);
    w.countdown_display.set_text(shown.display_text);
    w.countdown_display.set_tooltip(shown.display_tip);
    w.qt.status.label().set_tooltip(shown.qt_tip);
    w.daemon.status.label().set_tooltip(shown.daemon_tip);
    w.auto_close.set_tooltip(shown.auto_close_tip);
    w.services.taskbar.show(shown.taskbar);
    keep_tray_icon(w, shown.tray_icon);
}

}  // namespace

void show_state(MainWindow& w) {
    if (w.look_held) {
        w.look_due = true;
        return;
    }
    show_state_now(w);
}

// A failure that escapes the event leaves the look due: the next one shows it.
void one_look(MainWindow& w, const std::function<void()>& event) {
    if (w.look_held) {
        event();
        return;
    }
    w.look_held = true;
    try {
        event();
    } catch (...) {
        w.look_held = false;
        throw;
    }
    w.look_held = false;
    if (w.look_due) {
        show_state_now(w);
    }
}

LookWhileWaiting::LookWhileWaiting(MainWindow& w)
    : window_(w), held_(std::exchange(w.look_held, false)) {
    if (w.look_due) {
        show_state_now(w);
    }
}

LookWhileWaiting::~LookWhileWaiting() {
    window_.look_held = held_;
}

void tell(MainWindow& w, std::string_view message) {
    show_state(w);
    const LookWhileWaiting waiting(w);
    w.services.notifier.show_error(message);
}

}  // namespace zvkob
