#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "core/power/node_stop_time.hpp"
#include "core/power/power_stop_rule.hpp"
#include "platform/power_source.hpp"

namespace zvkob {

// A span in words, rounded: "45 seconds", "1 minute", "9 minutes", and from
// an hour on "1 h 40 min".
std::string minutes_words(std::int64_t ms);

// The history line and the notice's text when the node was stopped for the
// battery: "On battery with about 9 minutes left: ZV-KOB stopped the node,
// whose last stop took 3 minutes."
std::string battery_stop_event(const PowerReading& reading, BatteryCall call,
                               const ExpectedStop& expected);
// The battery stop asks the node to stop under this name, the tick's own.
inline constexpr const char* battery_stop_asker = "Stop Node Before the Battery Runs Out";

inline constexpr const char* battery_stop_title = "Node stopped before the battery runs out";

// When that stop could not be asked (the history's line before says why):
// "On battery at 20 %: ZV-KOB could not stop the node; it asks again at the
// next reading." Nobody may be at the PC: a notice, never a box.
std::string battery_stop_failed_event(const PowerReading& reading, BatteryCall call);
inline constexpr const char* battery_stop_failed_title = "The node could not be stopped";

// The history line when the node stopped for the battery starts again.
std::string mains_restart_event();
// The PC went back on battery before the mains restart started the node.
std::string mains_restart_withdrawn_event();
// The history line when it does not, as the program it stopped (`stopped`,
// "QT" or "DAEMON") is no longer the one chosen (`chosen`, or "" for none).
std::string mains_restart_refused_event(std::string_view stopped, std::string_view chosen);

// The history lines as the PC goes to sleep and wakes up.
inline constexpr const char* sleep_event =
    "The PC goes to sleep: ZV-KOB stops and starts nothing until it wakes.";
inline constexpr const char* wake_event =
    "The PC woke up: ZV-KOB reads the power source and the link's cost again.";

// What the battery rule shows on the node's tooltip, or "" (on mains, or the
// tick off): "On battery (62 %, about 1 h 40 min): the node stops cleanly at
// 25 % or with about 8 minutes left".
struct BatteryView {
    bool ticked = false;
    bool node_runs = false;
    bool stopped_for_power = false;  // asked to stop, or stopped, for the battery
    std::int64_t expected_stop_ms = 0;
};
std::string battery_tooltip_line(const PowerReading& reading, const BatteryView& view);

}  // namespace zvkob
