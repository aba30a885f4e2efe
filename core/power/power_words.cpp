#include "core/power/power_words.hpp"

#include "core/time_text.hpp"

namespace zvkob {
namespace {

std::string counted(std::int64_t count, const char* unit) {
    return std::to_string(count) + " " + unit + (count == 1 ? "" : "s");
}

// "(62 %, about 1 h 40 min)", with what Windows knows of the two.
std::string battery_state(const PowerReading& reading) {
    std::string state;
    if (reading.percent) {
        state = std::to_string(*reading.percent) + " %";
    }
    if (reading.seconds_left) {
        const std::int64_t whole_minutes_ms = *reading.seconds_left >= 60
                                                  ? *reading.seconds_left / 60 * 60'000
                                                  : *reading.seconds_left * 1000;
        state += (state.empty() ? "about " : ", about ") + duration_text(whole_minutes_ms);
    }
    return state.empty() ? "On battery" : "On battery (" + state + ")";
}

std::string why_stopped(const PowerReading& reading, BatteryCall call) {
    switch (call) {
        case BatteryCall::time_left:
            return "On battery with about " +
                   minutes_words(reading.seconds_left.value_or(0) * 1000) + " left";
        case BatteryCall::charge:
            return "On battery at " + std::to_string(reading.percent.value_or(0)) + " %";
        default:
            return "On battery, which Windows reports as critical";
    }
}

std::string stop_time_words(const ExpectedStop& expected) {
    const std::string expected_words = minutes_words(expected.ms);
    switch (expected.basis) {
        case ExpectedStop::Basis::default_catching_up:
            return "which may take " + expected_words +
                   " to stop while it catches up (none of its stops was measured yet).";
        case ExpectedStop::Basis::default_synced:
            return "which takes about " + expected_words +
                   " to stop once synced (none of its stops was measured yet).";
        case ExpectedStop::Basis::measured:
            break;
    }
    const std::string last_words = minutes_words(expected.last_took_ms.value_or(expected.ms));
    if (last_words == expected_words) {
        return "whose last stop took " + last_words + ".";
    }
    return "whose stop should take about " + expected_words +
           " with the cache it holds now (its last took " + last_words + ").";
}

}  // namespace

std::string minutes_words(std::int64_t ms) {
    const std::int64_t seconds = ms <= 0 ? 0 : (ms + 500) / 1000;
    if (seconds < 60) {
        return counted(seconds, "second");
    }
    const std::int64_t minutes = (seconds + 30) / 60;
    return minutes < 60 ? counted(minutes, "minute") : duration_text(minutes * 60'000);
}

std::string battery_stop_event(const PowerReading& reading, BatteryCall call,
                               const ExpectedStop& expected) {
    return why_stopped(reading, call) + ": ZV-KOB stopped the node, " + stop_time_words(expected);
}

std::string battery_stop_failed_event(const PowerReading& reading, BatteryCall call) {
    return why_stopped(reading, call) +
           ": ZV-KOB could not stop the node; it asks again at the next reading.";
}

std::string mains_restart_refused_event(std::string_view stopped, std::string_view chosen) {
    return "Back on mains power: ZV-KOB does not start the node again, which it stopped before "
           "the battery ran out: the " +
           std::string(stopped) + " program is no longer the one chosen (" +
           (chosen.empty() ? std::string("none is")
                           : "the " + std::string(chosen) + " program is") +
           ").";
}

std::string mains_restart_event() {
    return "Back on mains power: ZV-KOB starts the node again, which it stopped before the "
           "battery ran out.";
}

std::string mains_restart_withdrawn_event() {
    return "On battery again before the node started: ZV-KOB starts it once mains power is back "
           "for a minute.";
}

std::string battery_tooltip_line(const PowerReading& reading, const BatteryView& view) {
    if (!view.ticked || !on_battery(reading)) {
        return "";
    }
    const std::string state = battery_state(reading);
    if (view.stopped_for_power) {
        return state + ": ZV-KOB stopped the node; it starts again on mains power";
    }
    if (!view.node_runs) {
        return state;
    }
    return state + ": the node stops cleanly at " + std::to_string(battery_stop_percent) +
           " % or with about " + minutes_words(stop_margin_ms(view.expected_stop_ms)) + " left";
}

}  // namespace zvkob
