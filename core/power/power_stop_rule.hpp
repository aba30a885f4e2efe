#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "core/power/node_stop_time.hpp"
#include "platform/power_source.hpp"

namespace zvkob {

// On battery the node is stopped at this charge or below.
inline constexpr int battery_stop_percent = 25;
// The readings in a row that must all call for the stop: one odd reading
// (a battery's estimate jumps as the load changes) stops nothing.
inline constexpr int battery_readings_in_a_row = 2;
// Readings in a row are at least this far apart. Windows tells one change
// twice (PBT_APMPOWERSTATUSCHANGE and PBT_POWERSETTINGCHANGE come together),
// and each asks for a reading at once: a reading sooner than this after the
// last one that counted is taken (the tooltip shows it) but does not stand
// for a second one.
inline constexpr std::int64_t battery_readings_apart_ms = 10'000;
// Back on mains power this long, with the battery charging or at least
// restart_percent charged, a node stopped for the battery starts again.
inline constexpr std::int64_t mains_settled_ms = 60'000;
inline constexpr int restart_percent = 35;

// Windows sleeps about two seconds after it says so: too little for a stop,
// so readings this soon after that call for nothing.
inline constexpr std::int64_t sleep_hold_ms = 10'000;

// The time left at which the node is stopped: twice its expected stop time,
// and a minute, since Windows' estimate of the time left is rough and the
// PC's load changes while the node writes its cache.
inline std::int64_t stop_margin_ms(std::int64_t expected_stop_ms) {
    return 2 * expected_stop_ms + 60'000;
}

// Why the battery calls for the node's stop, most telling first.
enum class BatteryCall { none, time_left, charge, critical };

// What a reading on battery calls for, with the node's expected stop time.
// A time left that Windows does not know (right after the PC is unplugged,
// and with some UPSes always) leaves the charge and the critical flag to
// decide; a charge it does not know, the other two.
BatteryCall battery_call(const PowerReading& reading, std::int64_t expected_stop_ms);

// Whether mains power lets a node stopped for the battery start again: the
// battery charges, holds at least restart_percent, or there is none (a UPS
// that went away with the outage).
bool mains_allows_restart(const PowerReading& reading);

// What the rule asks of the window now.
struct PowerStep {
    enum class Action {
        none,
        stop_node,   // stop this copy's node cleanly (over its RPC where it answers)
        start_node,  // start it again through the countdown, which the user can cancel
    };
    Action action = Action::none;
    BatteryCall call = BatteryCall::none;  // stop_node: why
};

// What the rule hears with each reading.
struct PowerFacts {
    bool ticked = false;     // Stop Node Before the Battery Runs Out
    bool node_runs = false;  // this copy's node runs and nobody has asked it to stop
    std::int64_t expected_stop_ms = default_stop_catching_up_ms;
};

// Stop Node Before the Battery Runs Out: on battery, when two readings in a
// row (battery_readings_apart_ms apart) call for it, this copy's node is
// stopped, once while on battery (a node the user starts again on battery
// is the user's choice). A stop that could not be asked is tried again at
// the next reading that calls for it. Back on mains power for a minute,
// with the battery charging or charged enough, a node that ZV-KOB stopped
// for the battery, and that stopped as asked, starts again. Never a node
// that the user or anyone else stopped, nor one stopped while the tick was
// off: switching off, the user's own stop or start, or any start of the
// node meanwhile, forgets the stop, whatever battery episodes follow.
// Nothing is stopped or started as the PC goes to sleep; a reading before
// sleep and one after it are not in a row. Readings come every 30 s and at
// every power event; `now_ms` from the caller's clock.
class PowerStopRule {
public:
    PowerStep reading(const PowerReading& reading, const PowerFacts& facts, std::int64_t now_ms);

    // This copy's node ended; `as_asked`: it stopped because ZV-KOB asked it
    // to (its life says so).
    void node_gone(bool as_asked);
    // The user asked the node to stop, or started it again: from then on it
    // is the user's, mains power starts nothing, and a stop owed is forgotten.
    void node_started();
    // The user started the node or armed its start (LAUNCH, START): it is
    // the user's, and mains power starts nothing; but a stop owed to a node
    // that still runs stays owed, since a start asked while it runs starts
    // nothing.
    void users_start();
    // The restart a mains reading asked for was called off before it
    // started (the PC went back on battery): it is owed again, after
    // another minute on mains.
    void restart_withdrawn();
    // The stop the last reading asked for could not be asked: the next
    // reading that calls for it asks again, without a new row.
    void stop_failed();
    // The tick changed.
    void switched(bool on);
    // Windows said the PC goes to sleep (PBT_APMSUSPEND).
    void suspending(std::int64_t now_ms);

    // ZV-KOB stopped the node for the battery and will start it on mains.
    bool stopped_for_power() const { return stopped_for_power_; }
    // A stop was asked on this battery and the node has not ended yet.
    bool stop_asked() const { return asked_; }

private:
    PowerStep on_battery_reading(const PowerReading& reading, const PowerFacts& facts,
                                 std::int64_t now_ms);
    PowerStep stop(BatteryCall call);
    PowerStep on_mains_reading(const PowerReading& reading, std::int64_t now_ms);

    int readings_calling_ = 0;
    std::int64_t counted_ms_ = 0;  // the last reading that counted in the row
    bool owed_ = false;
    bool stopped_on_this_battery_ = false;
    bool asked_ = false;
    bool stopped_for_power_ = false;
    std::optional<std::int64_t> mains_since_ms_;
    std::optional<std::int64_t> sleeping_since_ms_;
};

}  // namespace zvkob
