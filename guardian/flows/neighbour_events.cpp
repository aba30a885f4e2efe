#include "guardian/flows/neighbour_events.hpp"

#include "core/power/power_words.hpp"
#include "guardian/engine/power_meeting.hpp"
#include "guardian/flows/guard_actions_done.hpp"
#include "guardian/flows/node_state_now.hpp"
#include "guardian/flows/stop_node.hpp"

namespace zvkob {
namespace {

bool synced(const GuardianEngine& g, const GuardedProgram* program) {
    const auto shown = program ? node_state_shown(g, *program) : std::nullopt;
    return shown && shown->state.condition == NodeCondition::synced;
}

const GuardedProgram* chosen_program(GuardianEngine& g) {
    for (const GuardedProgram* program : g.programs()) {
        if (program->chosen()) {
            return program;
        }
    }
    return nullptr;
}

// What the battery stop's meetings (guardian/engine/power_meeting.hpp) see
// of the window and this copy's node.
PowerScene power_scene(GuardianEngine& g) {
    const GuardedProgram* program = running_node_program(g);
    const GuardedProgram* chosen = chosen_program(g);
    PowerScene scene{.ticked = g.ticked(GuardTick::battery_stop),
                     .synced = synced(g, program),
                     .chosen_program = chosen == nullptr ? "" : chosen->name};
    if (program != nullptr) {
        scene.node_program = program->name;
        scene.node_stage = program->node.life.stage();
    }
    if (g.host.countdown_runs()) {
        scene.countdown_for = g.host.countdown_for();
    }
    return scene;
}

void read_power(GuardianEngine& g) {
    carry_out(g, power_reading(g.guardian.battery, power_scene(g), g.services.clock.now_ms()));
    g.host.show_guardian_state();
}

// The node of the chosen program first, as Stop Node finds it.
void follow_node_priority(GuardianEngine& g) {
    const GuardedProgram* program = running_node_program(g);
    const NodeOfThisCopy* node = program == nullptr ? nullptr : &program->node;
    g.guardian.node_priority.follow(node == nullptr ? nullptr : node->held(),
                                    node != nullptr && node->interpreter() != nullptr,
                                    g.ticked(GuardTick::low_priority));
}

}  // namespace

void battery_stop_tick_changed(GuardianEngine& g) {
    carry_out(g,
              battery_stop_switched(g.guardian.battery, power_scene(g), g.services.clock.now_ms()));
    g.host.show_guardian_state();
}

void battery_stop_failed(GuardianEngine& g) {
    carry_out(g, battery_stop_not_asked(g.guardian.battery));
}

void neighbour_tick(GuardianEngine& g) {
    if (g.ticked(GuardTick::battery_stop) && g.guardian.battery.due(g.services.clock.now_ms())) {
        read_power(g);
    }
    follow_node_priority(g);
}

void low_priority_tick_changed(GuardianEngine& g) {
    follow_node_priority(g);
}

void power_broadcast(GuardianEngine& g, const PowerEvent& event) {
    if (event.kind == PowerEvent::Kind::resumed) {
        g.guardian.metered.read_soon();  // the PC may have woken on another link
    }
    if (!g.ticked(GuardTick::battery_stop)) {
        return;
    }
    switch (event.kind) {
        case PowerEvent::Kind::suspending:
            g.guardian.battery.suspending(g.services.clock.now_ms());
            return;
        case PowerEvent::Kind::resumed:
            g.guardian.battery.woke();
            read_power(g);
            return;
        case PowerEvent::Kind::status_changed:
        case PowerEvent::Kind::line_changed:
        case PowerEvent::Kind::percent_changed:
            read_power(g);
            return;
        case PowerEvent::Kind::other:
            return;
    }
}

void node_log_read(GuardianEngine& g, std::span<const std::string> stop_lines) {
    g.guardian.battery.take_log(stop_lines, g.ticked(GuardTick::battery_stop));
}

void power_node_gone(GuardianEngine& g, const GuardedProgram& program) {
    g.guardian.battery.node_gone(program.node.life.cause() == StopCause::asked_for);
}

std::string power_tooltip(const GuardianEngine& g, const GuardedProgram& program) {
    const bool runs = program.node.life.runs();
    if (!runs && !program.chosen()) {
        return {};
    }
    return g.guardian.battery.tooltip_line(runs, synced(g, &program));
}

}  // namespace zvkob
