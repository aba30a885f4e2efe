#include "guardian/engine/power_meeting.hpp"

#include <string>

#include "core/power/power_words.hpp"

namespace zvkob {
namespace {

bool mains_restart_armed(const PowerScene& scene) {
    return scene.countdown_for == StartRequest::mains_restart;
}

// A node asked to stop already is left to stop; one whose stop every way
// refused runs on (its life says so), and a stop owed is asked of it again.
PowerNodeView node_for_power(const PowerScene& scene) {
    const bool held = !scene.node_program.empty();
    return {.ticked = scene.ticked,
            .node_runs = held && scene.node_stage == NodeStage::running,
            .synced = held && scene.synced};
}

// The mains restart meets the launch mode: it starts the program it stopped
// for the battery, and only that one. A program chosen since (or none) is
// the user's choice: nothing starts, and the history says why. A countdown
// armed already starts the node itself. The start is the guardian's own:
// Auto Close leaves it alone (auto_close_follows in main_window/event_order.cpp).
void start_on_mains(const PowerGuard& battery, const PowerScene& scene, const std::string& event,
                    GuardActions& actions) {
    if (scene.chosen_program.empty() || scene.chosen_program != battery.stopped_program()) {
        actions.emplace_back(WriteHistory{
            mains_restart_refused_event(battery.stopped_program(), scene.chosen_program)});
        return;
    }
    if (scene.countdown_for) {
        return;
    }
    actions.emplace_back(WriteHistory{event});
    actions.emplace_back(ArmTheCountdown{StartRequest::mains_restart});
}

}  // namespace

GuardActions power_reading(PowerGuard& battery, const PowerScene& scene, std::int64_t now_ms) {
    const PowerOrder order = battery.read(node_for_power(scene), now_ms);
    GuardActions actions;
    PowerScene after = scene;
    if (battery.on_battery() && mains_restart_armed(scene)) {
        battery.restart_withdrawn();
        actions.emplace_back(DisarmTheCountdown{});
        actions.emplace_back(WriteHistory{mains_restart_withdrawn_event()});
        after.countdown_for.reset();
    }
    switch (order.action) {
        case PowerStep::Action::stop_node:
            battery.stop_asked_of(scene.node_program);
            actions.emplace_back(StopTheNode{std::string(scene.node_program), battery_stop_asker,
                                             order.event, battery_stop_title});
            break;
        case PowerStep::Action::start_node:
            start_on_mains(battery, after, order.event, actions);
            break;
        case PowerStep::Action::none:
            break;
    }
    return actions;
}

// Switched off, the battery stop forgets its stop, and a mains restart it
// armed goes with it, as Keep Node Running's restart does.
GuardActions battery_stop_switched(PowerGuard& battery, const PowerScene& scene,
                                   std::int64_t now_ms) {
    battery.switched(scene.ticked);
    GuardActions actions;
    PowerScene after = scene;
    if (!scene.ticked && mains_restart_armed(scene)) {
        actions.emplace_back(DisarmTheCountdown{});
        after.countdown_for.reset();
    }
    GuardActions read = power_reading(battery, after, now_ms);
    actions.insert(actions.end(), read.begin(), read.end());
    return actions;
}

GuardActions battery_stop_not_asked(PowerGuard& battery) {
    std::string event = battery.stop_failed();
    return {WriteHistory{event}, Notify{NoticeKind::trouble, battery_stop_failed_title, event}};
}

}  // namespace zvkob
