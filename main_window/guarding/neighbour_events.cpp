#include "main_window/guarding/neighbour_events.hpp"

#include "core/power/power_words.hpp"
#include "main_window/starting/countdown_events.hpp"
#include "main_window/in_notification_area.hpp"
#include "main_window/shown_state.hpp"
#include "main_window/guarding/stop_node.hpp"
#include "main_window/window_menu.hpp"

namespace zvkob {
namespace {

bool synced(const MainWindow& w, const NodeProgram* program) {
    const auto shown = program ? node_state_shown(w, *program) : std::nullopt;
    return shown && shown->state.condition == NodeCondition::synced;
}

void stop_for_power(MainWindow& w, NodeProgram& program, const std::string& event) {
    w.guardian.battery.stop_asked_of(program.name);
    if (const Outcome asked = ask_node_to_stop(w, program, battery_stop_asker); !asked) {
        battery_stop_failed(w);  // the history's line before says why
        return;
    }
    w.services.history.record(event);
    tray_notice(w, NoticeKind::trouble, battery_stop_title, event);
}

const NodeProgram* chosen_program(MainWindow& w) {
    for (const NodeProgram* program : w.programs()) {
        if (program->chosen.ticked()) {
            return program;
        }
    }
    return nullptr;
}

// The mains restart meets the launch mode: it starts the program it stopped
// for the battery, and only that one. A program chosen since (or none) is
// the user's choice: nothing starts, and the history says why. A countdown
// armed already (START, a restart of Keep Node Running's) starts the node
// itself. The start is the guardian's own: Auto Close leaves it alone
// (auto_close_follows in event_order.cpp).
void start_on_mains(MainWindow& w, const std::string& event) {
    const NodeProgram* chosen = chosen_program(w);
    if (chosen == nullptr || chosen->name != w.guardian.battery.stopped_program()) {
        w.services.history.record(mains_restart_refused_event(
            w.guardian.battery.stopped_program(), chosen == nullptr ? "" : chosen->name));
        return;
    }
    if (w.countdown_timer.enabled()) {
        return;
    }
    w.services.history.record(event);
    arm_countdown(w, std::chrono::milliseconds(0), StartRequest::mains_restart);
}

// What the battery stop sees of the node at a reading: running and not
// asked to stop; a stop it owes is asked again of a node a refused request
// left asked to stop.
PowerNodeView node_for_power(MainWindow& w, NodeProgram* program) {
    const NodeLife* life = program == nullptr ? nullptr : &program->node.life;
    const bool runs = life != nullptr && (life->stage() == NodeStage::running ||
                                          (w.guardian.battery.stop_owed() && life->runs()));
    return {.ticked = w.battery_stop.ticked(), .node_runs = runs, .synced = synced(w, program)};
}

bool mains_restart_armed(const MainWindow& w) {
    return w.countdown_timer.enabled() && w.countdown.for_whom() == StartRequest::mains_restart;
}

// The mains restart meets the next outage: a countdown armed for it that
// has not started the node yet is called off on battery, and the restart
// is owed again (never started on a battery that would stop it at once).
void withdraw_mains_restart(MainWindow& w) {
    if (w.guardian.battery.on_battery() && mains_restart_armed(w)) {
        disarm_countdown(w);
        w.guardian.battery.restart_withdrawn();
        w.services.history.record(mains_restart_withdrawn_event());
    }
}

void read_power(MainWindow& w) {
    NodeProgram* program = running_node_program(w);
    const PowerOrder order =
        w.guardian.battery.read(node_for_power(w, program), w.services.clock.now_ms());
    withdraw_mains_restart(w);
    switch (order.action) {
        case PowerStep::Action::stop_node:
            stop_for_power(w, *program, order.event);
            break;
        case PowerStep::Action::start_node:
            start_on_mains(w, order.event);
            break;
        case PowerStep::Action::none:
            break;
    }
    show_state(w);
}

// The node of the chosen program first, as Stop Node finds it.
void follow_node_priority(MainWindow& w) {
    const NodeProgram* program = running_node_program(w);
    const NodeOfThisCopy* node = program == nullptr ? nullptr : &program->node;
    w.guardian.node_priority.follow(node == nullptr ? nullptr : node->held(),
                                    node != nullptr && node->interpreter() != nullptr,
                                    w.low_priority.ticked());
}

}  // namespace

// Switched off, the battery stop forgets its stop, and a mains restart it
// armed goes with it, as Keep Node Running's restart does.
void battery_stop_clicked(MainWindow& w) {
    switch_tick(w, w.battery_stop, stored::battery_stop, battery_stop_asker);
    w.guardian.battery.switched(w.battery_stop.ticked());
    if (!w.battery_stop.ticked() && mains_restart_armed(w)) {
        disarm_countdown(w);
    }
    read_power(w);
}

// The battery's failed stop meets Stop Node's: nobody may be at the PC,
// so no box. The history and a quiet notice say so, and the next reading
// that calls for the stop asks again.
void battery_stop_failed(MainWindow& w) {
    const std::string event = w.guardian.battery.stop_failed();
    w.services.history.record(event);
    tray_notice(w, NoticeKind::trouble, battery_stop_failed_title, event);
}

void neighbour_tick(MainWindow& w) {
    if (w.battery_stop.ticked() && w.guardian.battery.due(w.services.clock.now_ms())) {
        read_power(w);
    }
    follow_node_priority(w);
}

void low_priority_clicked(MainWindow& w) {
    switch_tick(w, w.low_priority, stored::node_low_priority, "Run the Node at Low Priority");
    follow_node_priority(w);
}

void power_broadcast(MainWindow& w, const PowerEvent& event) {
    if (event.kind == PowerEvent::Kind::resumed) {
        w.guardian.metered.read_soon();  // the PC may have woken on another link
    }
    if (!w.battery_stop.ticked()) {
        return;
    }
    switch (event.kind) {
        case PowerEvent::Kind::suspending:
            w.guardian.battery.suspending(w.services.clock.now_ms());
            return;
        case PowerEvent::Kind::resumed:
            w.guardian.battery.woke();
            read_power(w);
            return;
        case PowerEvent::Kind::status_changed:
        case PowerEvent::Kind::line_changed:
        case PowerEvent::Kind::percent_changed:
            read_power(w);
            return;
        case PowerEvent::Kind::other:
            return;
    }
}

void node_log_read(MainWindow& w, std::span<const std::string> stop_lines) {
    w.guardian.battery.take_log(stop_lines, w.battery_stop.ticked());
}

void power_node_gone(MainWindow& w, const NodeProgram& program) {
    w.guardian.battery.node_gone(program.node.life.cause() == StopCause::asked_for);
}

std::string power_tooltip(const MainWindow& w, const NodeProgram& program) {
    const bool runs = program.node.life.runs();
    if (!runs && !program.chosen.ticked()) {
        return {};
    }
    return w.guardian.battery.tooltip_line(runs, synced(w, &program));
}

}  // namespace zvkob
