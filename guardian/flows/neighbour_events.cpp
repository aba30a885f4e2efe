#include "guardian/flows/neighbour_events.hpp"

#include "core/power/power_words.hpp"
#include "guardian/engine/power_meeting.hpp"
#include "guardian/flows/guard_actions_done.hpp"
#include "main_window/starting/countdown_events.hpp"
#include "main_window/in_notification_area.hpp"
#include "main_window/shown_state.hpp"
#include "guardian/flows/stop_node.hpp"
#include "main_window/window_menu.hpp"

namespace zvkob {
namespace {

bool synced(const MainWindow& w, const NodeProgram* program) {
    const auto shown = program ? node_state_shown(w, *program) : std::nullopt;
    return shown && shown->state.condition == NodeCondition::synced;
}

const NodeProgram* chosen_program(MainWindow& w) {
    for (const NodeProgram* program : w.programs()) {
        if (program->chosen.ticked()) {
            return program;
        }
    }
    return nullptr;
}

// What the battery stop's meetings (guardian/engine/power_meeting.hpp) see
// of the window and this copy's node.
PowerScene power_scene(MainWindow& w) {
    const NodeProgram* program = running_node_program(w);
    const NodeProgram* chosen = chosen_program(w);
    PowerScene scene{.ticked = w.battery_stop.ticked(),
                     .synced = synced(w, program),
                     .chosen_program = chosen == nullptr ? "" : chosen->name};
    if (program != nullptr) {
        scene.node_program = program->name;
        scene.node_stage = program->node.life.stage();
    }
    if (w.countdown_timer.enabled()) {
        scene.countdown_for = w.countdown.for_whom();
    }
    return scene;
}

void read_power(MainWindow& w) {
    carry_out(w, power_reading(w.guardian.battery, power_scene(w), w.services.clock.now_ms()));
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

void battery_stop_clicked(MainWindow& w) {
    switch_tick(w, w.battery_stop, stored::battery_stop, battery_stop_asker);
    carry_out(w,
              battery_stop_switched(w.guardian.battery, power_scene(w), w.services.clock.now_ms()));
    show_state(w);
}

void battery_stop_failed(MainWindow& w) {
    carry_out(w, battery_stop_not_asked(w.guardian.battery));
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
