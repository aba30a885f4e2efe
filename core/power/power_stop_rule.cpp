#include "core/power/power_stop_rule.hpp"

namespace zvkob {

BatteryCall battery_call(const PowerReading& reading, std::int64_t expected_stop_ms) {
    if (!on_battery(reading)) {
        return BatteryCall::none;
    }
    if (reading.seconds_left && *reading.seconds_left * 1000 <= stop_margin_ms(expected_stop_ms)) {
        return BatteryCall::time_left;
    }
    if (reading.percent && *reading.percent <= battery_stop_percent) {
        return BatteryCall::charge;
    }
    return reading.critical ? BatteryCall::critical : BatteryCall::none;
}

bool mains_allows_restart(const PowerReading& reading) {
    return !reading.battery_present || reading.charging ||
           (reading.percent && *reading.percent >= restart_percent);
}

PowerStep PowerStopRule::reading(const PowerReading& reading, const PowerFacts& facts,
                                 std::int64_t now_ms) {
    if (!facts.ticked) {
        switched(false);
        return {};
    }
    if (sleeping_since_ms_ && now_ms - *sleeping_since_ms_ < sleep_hold_ms) {
        return {};
    }
    sleeping_since_ms_.reset();
    if (facts.node_runs && !asked_) {
        stopped_for_power_ = false;  // started again since, by whomever: the node is theirs
    }
    if (on_battery(reading)) {
        mains_since_ms_.reset();
        return on_battery_reading(reading, facts, now_ms);
    }
    readings_calling_ = 0;
    owed_ = false;
    if (reading.line != PowerLine::mains) {
        mains_since_ms_.reset();  // only mains power seen for a minute starts the node
        return {};
    }
    stopped_on_this_battery_ = false;
    if (facts.node_runs) {
        return {};
    }
    return on_mains_reading(reading, now_ms);
}

PowerStep PowerStopRule::on_battery_reading(const PowerReading& reading, const PowerFacts& facts,
                                            std::int64_t now_ms) {
    const BatteryCall call = battery_call(reading, facts.expected_stop_ms);
    if (call == BatteryCall::none) {
        owed_ = false;  // a stop owed is owed to readings in a row: this one broke the row
    }
    if (call == BatteryCall::none || !facts.node_runs || stopped_on_this_battery_) {
        readings_calling_ = 0;
        return {};
    }
    if (owed_) {
        if (now_ms - counted_ms_ < battery_readings_apart_ms) {
            return {};  // the change told twice: asked once
        }
        counted_ms_ = now_ms;
        return stop(call);  // two readings in a row called for it already
    }
    if (readings_calling_ > 0 && now_ms - counted_ms_ < battery_readings_apart_ms) {
        return {};  // the same change told twice: one reading, not two
    }
    counted_ms_ = now_ms;
    if (++readings_calling_ < battery_readings_in_a_row) {
        return {};
    }
    return stop(call);
}

PowerStep PowerStopRule::stop(BatteryCall call) {
    readings_calling_ = 0;
    owed_ = false;
    stopped_on_this_battery_ = true;
    asked_ = true;
    return {PowerStep::Action::stop_node, call};
}

void PowerStopRule::stop_failed() {
    asked_ = false;
    stopped_on_this_battery_ = false;
    owed_ = true;
}

PowerStep PowerStopRule::on_mains_reading(const PowerReading& reading, std::int64_t now_ms) {
    if (!mains_since_ms_) {
        mains_since_ms_ = now_ms;
    }
    if (!stopped_for_power_ || now_ms - *mains_since_ms_ < mains_settled_ms ||
        !mains_allows_restart(reading)) {
        return {};
    }
    stopped_for_power_ = false;
    return {PowerStep::Action::start_node, BatteryCall::none};
}

void PowerStopRule::node_gone(bool as_asked) {
    stopped_for_power_ = asked_ && as_asked;
    asked_ = false;
}

void PowerStopRule::node_started() {
    stopped_for_power_ = false;
    asked_ = false;
    owed_ = false;
}

void PowerStopRule::users_start() {
    stopped_for_power_ = false;
    asked_ = false;
}

void PowerStopRule::restart_withdrawn() {
    stopped_for_power_ = true;
    mains_since_ms_.reset();
}

void PowerStopRule::suspending(std::int64_t now_ms) {
    sleeping_since_ms_ = now_ms;
    readings_calling_ = 0;
    owed_ = false;
    mains_since_ms_.reset();
}

void PowerStopRule::switched(bool on) {
    if (!on) {
        *this = PowerStopRule();
    }
}

}  // namespace zvkob
