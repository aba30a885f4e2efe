#include "guardian/power/power_guard.hpp"

#include "core/power/power_words.hpp"

namespace zvkob {

bool PowerGuard::due(std::int64_t now_ms) const {
    return !last_read_ms_ || now_ms - *last_read_ms_ >= power_reading_every_ms;
}

PowerOrder PowerGuard::read(const PowerNodeView& view, std::int64_t now_ms) {
    if (!view.ticked) {
        switched(false);
        return {};
    }
    last_read_ms_ = now_ms;
    const std::optional<PowerReading> reading = source_.read();
    if (!reading) {
        // Told once: a PC whose power status cannot be read stays so.
        if (!failure_told_) {
            history_.record("ZV-KOB cannot read the PC's power source: " + source_.failure());
            failure_told_ = true;
        }
        return {};
    }
    failure_told_ = false;
    last_ = reading;
    const ExpectedStop expected_stop = expected(view.synced);
    const PowerStep step = rule_.reading(
        *reading,
        {.ticked = true, .node_runs = view.node_runs, .expected_stop_ms = expected_stop.ms},
        now_ms);
    PowerOrder order{step.action, {}};
    if (step.action == PowerStep::Action::stop_node) {
        order.event = battery_stop_event(*reading, step.call, expected_stop);
    } else if (step.action == PowerStep::Action::start_node) {
        order.event = mains_restart_event();
    }
    return order;
}

void PowerGuard::switched(bool on) {
    rule_.switched(on);
    if (!on) {
        last_.reset();
        last_read_ms_.reset();
        failure_told_ = false;
        asleep_ = false;
    }
}

void PowerGuard::suspending(std::int64_t now_ms) {
    rule_.suspending(now_ms);
    asleep_ = true;
    history_.record(sleep_event);
}

void PowerGuard::woke() {
    if (asleep_) {
        asleep_ = false;
        history_.record(wake_event);
    }
}

std::string PowerGuard::tooltip_line(bool node_runs, bool synced) const {
    if (!last_) {
        return {};
    }
    return battery_tooltip_line(
        *last_, {.ticked = true,
                 .node_runs = node_runs,
                 .stopped_for_power = rule_.stopped_for_power() || rule_.stop_asked(),
                 .expected_stop_ms = expected(synced).ms});
}

}  // namespace zvkob
