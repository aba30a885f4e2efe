#include "main_window/shown_state.hpp"

#include <utility>

#include "guardian/flows/node_state_now.hpp"
#include "core/node_state/node_progress_text.hpp"
#include "core/time_text.hpp"
#include "main_window/in_notification_area.hpp"
#include "guardian/flows/antivirus_hint_events.hpp"
#include "guardian/flows/metered_events.hpp"
#include "guardian/flows/neighbour_events.hpp"
#include "guardian/flows/node_care.hpp"

namespace zvkob {
namespace {

constexpr char held_tip[] =
    "Keep Node Running is on: ZV-KOB stays open after an automatic start, to start the node "
    "again should it stop.";

// Lines joined, leaving out the empty ones.
void add_line(std::string& text, const std::string& line) {
    if (!line.empty()) {
        text += (text.empty() ? "" : "\n") + line;
    }
}

const NodeProgram* stopping_program(const MainWindow& w) {
    for (const NodeProgram* program : {&w.qt, &w.daemon}) {
        if (program->node.life.stage() == NodeStage::asked_to_stop) {
            return program;
        }
    }
    return nullptr;
}

std::string stopping_tip(const NodeProgram& program, std::int64_t now_ms) {
    if (program.node.life.stage() != NodeStage::asked_to_stop) {
        return {};
    }
    return "Stopping: " + asked_text(program.node.life, now_ms) +
           ". ZV-KOB waits; it never kills the node.";
}

// Which source the state shown comes from, or why not from the node's RPC.
std::string source_line(const MergedNodeState& shown, const NodeRpc& rpc, std::int64_t now_ms) {
    if (!shown.from_rpc) {
        return rpc.log_source_line(now_ms);
    }
    return shown.log_decides ? "From the node's log and RPC" : "From the node's RPC";
}

std::string label_tip(const MainWindow& w, const NodeProgram& program, std::int64_t now_ms) {
    std::string tip;
    if (const std::optional<MergedNodeState> shown = node_state_shown(w, program)) {
        tip = progress_tooltip(shown->state);
        add_line(tip, shown->state.advice);
        add_line(tip, warning_tooltip(shown->state));
        add_line(tip, source_line(*shown, program.node.rpc(), now_ms));
        add_line(tip, antivirus_hint_line(w.engine, program.guarded));
    }
    add_line(tip, care_tooltip(w.engine, program.guarded));
    add_line(tip, power_tooltip(w.engine, program.guarded));
    if (program.node.life.runs()) {
        add_line(tip, metered_tooltip(w.engine));
    }
    add_line(tip, program.status.query_failure_tip(program.image));
    add_line(tip, stopping_tip(program, now_ms));
    if (!program.node.error_end().empty() && !program.node.life.runs()) {
        add_line(tip, "The node ended after an error: " + program.node.error_end());
    }
    if (const std::string note = program.node.other_running_note();
        !note.empty() && program.status.running()) {
        add_line(tip, program.image + " runs, but not as this copy's node (" + note + ").");
    }
    if (!program.node.not_held_reason().empty()) {
        add_line(tip, "ZV-KOB follows this copy's node (process " +
                          std::to_string(program.node.id()) +
                          ") by its name and process number: Windows does not let it open the "
                          "process (" +
                          program.node.not_held_reason() + "), so its exit code is not known.");
    }
    return tip;
}

// The taskbar button follows the node's progress while it is shown; a start
// that waits for the data folder pauses it.
TaskbarProgress taskbar_shown(const MainWindow& w) {
    if (!w.show_progress.ticked()) {
        return {};
    }
    const bool waiting = w.countdown_timer.enabled() && w.countdown.waiting().has_value();
    const std::optional<MergedNodeState> shown = node_state_shown(w);
    return taskbar_progress(shown ? shown->state : NodeProgressState{}, waiting);
}

// Auto Close is ticked but does not act while Keep Node Running is on.
bool auto_close_waits(const MainWindow& w) {
    return w.keep_node_running.ticked() && w.auto_close.ticked();
}

}  // namespace

std::optional<MergedNodeState> node_state_shown(const MainWindow& w, const NodeProgram& program) {
    return node_state_shown(w.engine, program.guarded);
}

std::optional<MergedNodeState> node_state_shown(const MainWindow& w) {
    return node_state_shown(w.engine);
}

ShownState what_the_window_shows(const MainWindow& w, std::int64_t now_ms) {
    ShownState shown;
    shown.display_colour = w.indicator;
    const NodeProgram* stopping = stopping_program(w);
    const bool counting = w.countdown_timer.enabled();
    for (const std::string& what : w.guardian.glance.checking()) {
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
        add_line(shown.display_tip, stopping_tip(*stopping, now_ms));
    }
    if (auto_close_waits(w)) {
        shown.auto_close_tip = held_tip;
        if (w.auto_close_timer.enabled()) {
            add_line(shown.display_tip, held_tip);
        }
    }
    shown.qt_tip = label_tip(w, w.qt, now_ms);
    shown.daemon_tip = label_tip(w, w.daemon, now_ms);
    shown.taskbar = taskbar_shown(w);
    shown.tray_icon = wanted_tray_icon(w);
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
