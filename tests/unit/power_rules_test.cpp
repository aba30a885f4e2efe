// The node and the PC's power: its measured stop time, when the battery
// stops it and mains power starts it again, what the history and tooltip
// say, and Keep the PC Awake on battery.
#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "core/power/node_stop_time.hpp"
#include "core/power/power_awake.hpp"
#include "core/power/power_stop_rule.hpp"
#include "core/power/power_words.hpp"

namespace zvkob {
namespace {

constexpr std::int64_t second = 1000;
constexpr std::int64_t minute = 60 * second;

std::string tip(std::string_view time, std::string_view cache, std::string_view prefix = "") {
    return std::string(time) + " " + std::string(prefix) +
           "UpdateTip: new best=00000000000000000001a2b3 height=900000 version=0x20000000 "
           "log2_work=95.1 tx=1100000 date='2025-07-16T04:40:00Z' progress=1.000000 cache=" +
           std::string(cache) + "(10245633txo)";
}

bool take(NodeStopTimes& times, const std::vector<std::string>& lines) {
    const std::vector<std::string_view> views(lines.begin(), lines.end());
    return times.take(views);
}

// Both wordings and every timestamp format; the cache is the last new
// block's before the stop, of its own run; a crash measures nothing.
TEST(NodeStopTime, IsMeasuredFromTheLogsStopsWithTheCacheOfThen) {
    NodeStopTimes times;
    EXPECT_TRUE(
        take(times, {
                        tip("2025-07-16T04:50:47Z", "1433.6MiB"),
                        "2025-07-16T04:51:00Z [shutoff] Shutdown: In progress...",
                        "2025-07-16T04:52:07Z Shutdown: done",
                        "",
                        "2025-07-17T10:00:00Z Bitcoin Core version v30.0.0 (release build)",
                        tip("2025-07-17T10:00:06.000000Z", "12.5MiB"),
                        tip("2025-07-17T10:00:07.000000Z", "99.0MiB", "[background validation] "),
                        "2025-07-17T10:00:10.500000Z Shutdown in progress...",
                        "2025-07-17T10:00:12.000000Z Shutdown done",
                        "2018-07-07 14:50:00 Litecoin version v0.16.3 (release build)",
                        "2018-07-07 14:59:00 Shutdown: In progress...",
                        "2018-07-07 15:02:00 Shutdown: done",
                        "2018-07-08 09:00:00 Dogecoin Core version v1.14.6.0-g",
                        tip("2018-07-08 09:10:00", "300.0MiB"),
                        "2018-07-08 09:11:00 Shutdown: In progress...",
                        "2018-07-08 09:11:30 Dogecoin Core version v1.14.6.0-g",
                        "2018-07-08 09:12:00 Shutdown: done",
                    }));
    ASSERT_EQ(times.stops().size(), 3U);
    EXPECT_EQ(times.stops()[0].took_ms, 3 * minute);  // oldest first: 2018
    EXPECT_EQ(times.stops()[0].cache_mib, std::nullopt);
    EXPECT_EQ(times.stops()[1].took_ms, 67 * second);
    EXPECT_EQ(times.stops()[1].cache_mib, 1433.6);
    EXPECT_EQ(times.stops()[2].took_ms, 1500);
    EXPECT_EQ(times.stops()[2].cache_mib, 12.5);
    EXPECT_FALSE(take(times, {"2025-07-16T04:51:00Z Shutdown: In progress...",
                              "2025-07-16T04:52:07Z Shutdown: done"}))
        << "a stop read again is kept once";
    EXPECT_EQ(cache_mib_of("UpdateTip: ... cache=5.1MiB(37000txo) warning='x'"), 5.1);

    // What a reading hands on: of a row of new blocks the last naming its cache.
    const std::vector<std::string> log{tip("2025-07-16T04:50:46Z", "1.0MiB"),
                                       tip("2025-07-16T04:50:47Z", "2.0MiB"),
                                       tip("2025-07-16T04:50:48Z", ""),
                                       "2025-07-16T04:50:49Z Loaded best chain",
                                       "2025-07-16T04:51:00Z Shutdown: In progress...",
                                       tip("2025-07-16T04:51:01Z", "3.0MiB"),
                                       "2025-07-16T04:52:07Z Shutdown: done"};
    const std::vector<std::string_view> views(log.begin(), log.end());
    EXPECT_EQ(stop_time_lines(views), (std::vector<std::string>{log[1], log[4], log[5], log[6]}));
    EXPECT_EQ(cache_mib_of("UpdateTip: ... cache=(37000txo)"), std::nullopt);
}

TEST(NodeStopTime, KeepsTheLastTenInARecordThatSurvivesARestart) {
    NodeStopTimes times;
    for (int day = 10; day < 22; ++day) {
        const std::string date = "2025-07-" + std::to_string(day);
        take(times, {tip(date + "T10:00:00Z", std::to_string(day) + ".0MiB"),
                     date + "T10:01:00Z Shutdown: In progress...",
                     date + "T10:01:" + std::to_string(day) + "Z Shutdown: done"});
    }
    ASSERT_EQ(times.stops().size(), measured_stops_kept);
    EXPECT_EQ(times.stops().front().took_ms, 12 * second);
    EXPECT_FALSE(take(times, {"2025-07-01T10:01:00Z Shutdown: In progress...",
                              "2025-07-01T10:01:05Z Shutdown: done"}))
        << "older than all ten";

    const std::string record = times.record();
    EXPECT_TRUE(record.starts_with("1752314472000 12000 12.0\n")) << record;
    const NodeStopTimes read = NodeStopTimes::from_record("damaged line\n1 -5 -\n" + record);
    EXPECT_EQ(read.record(), record);
    EXPECT_EQ(NodeStopTimes::from_record("7 2000 -\r\n").stops().at(0).took_ms, 2000);
    EXPECT_EQ(node_stop_record_path("C:\\Users\\Jo\\AppData\\Local\\ZV-KOB\\ZV-KOB.log"),
              "C:\\Users\\Jo\\AppData\\Local\\ZV-KOB\\ZV-KOB.node-stops");
}

// Each stop scaled by (cache now + 100 MiB) / (its cache + 100 MiB); the longest counts.
TEST(NodeStopTime, ExpectedScalesWithTheCacheOfNowAndDefaultsWithoutAStop) {
    EXPECT_EQ(NodeStopTimes().expected(false).ms, 15 * minute);
    EXPECT_EQ(NodeStopTimes().expected(true).ms, 2 * minute);
    EXPECT_EQ(NodeStopTimes().expected(true).basis, ExpectedStop::Basis::default_synced);

    NodeStopTimes times = NodeStopTimes::from_record("1000 60000 900.0\n2000 100000 1900.0\n");
    EXPECT_EQ(times.expected(true).ms, 100 * second) << "no cache of now: as they took";
    EXPECT_EQ(times.expected(true).last_took_ms, 100 * second);
    take(times, {tip("2025-07-16T04:50:47Z", "1900.0MiB")});
    EXPECT_EQ(times.expected(false).ms, 120 * second);  // 60 s x 2000 / 1000
    take(times, {tip("2025-07-16T04:50:48Z", "400.0MiB")});
    EXPECT_EQ(times.expected(false).ms, 30 * second);  // 60 s x 500 / 1000
    EXPECT_EQ(times.expected(false).basis, ExpectedStop::Basis::measured);
}

PowerReading on_battery_at(int percent, std::optional<std::int64_t> seconds_left = std::nullopt,
                           bool critical = false) {
    return {PowerLine::battery, true, false, critical, percent, seconds_left};
}

PowerReading on_mains_at(int percent, bool charging = false) {
    return {PowerLine::mains, true, charging, false, percent, std::nullopt};
}

// With a stop expected to take 3 minutes the time left that stops is 7 minutes.
TEST(BatteryStop, TheTimeLeftTheChargeOrTheCriticalFlagCallsForTheStop) {
    struct Case {
        const char* name;
        PowerReading reading;
        BatteryCall call;
    };
    PowerReading no_battery = on_battery_at(10, 60);
    no_battery.battery_present = false;  // BatteryFlag 0x80
    PowerReading unknown_line = on_battery_at(10, 60);
    unknown_line.line = PowerLine::unknown;
    const Case cases[] = {
        {"2x + 1 min exactly", on_battery_at(80, 420), BatteryCall::time_left},
        {"a second more", on_battery_at(80, 421), BatteryCall::none},
        {"time unknown, 25 %", on_battery_at(25), BatteryCall::charge},
        {"time unknown, 26 %", on_battery_at(26), BatteryCall::none},
        {"critical", on_battery_at(26, 3600, true), BatteryCall::critical},
        {"a UPS shown as a battery", on_battery_at(100, 300), BatteryCall::time_left},
        {"no battery", no_battery, BatteryCall::none},
        {"line unknown", unknown_line, BatteryCall::none},
        {"mains", on_mains_at(5), BatteryCall::none},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(battery_call(c.reading, 3 * minute), c.call) << c.name;
    }
}

class PowerStopFlow : public ::testing::Test {
protected:
    PowerStep read(const PowerReading& reading, bool node_runs = true) {
        now_ += 30 * second;
        return rule_.reading(reading, {ticked_, node_runs, 3 * minute}, now_);
    }
    // The node stopped for the battery after two readings, as asked.
    void stop_for_power() {
        EXPECT_EQ(read(on_battery_at(20)).action, PowerStep::Action::none);
        EXPECT_EQ(read(on_battery_at(19)).action, PowerStep::Action::stop_node);
        rule_.node_gone(true);
    }

    PowerStopRule rule_;
    bool ticked_ = true;
    std::int64_t now_ = 0;
};

TEST_F(PowerStopFlow, TwoReadingsInARowStopTheNodeOnceWhileOnBattery) {
    EXPECT_EQ(read(on_battery_at(20)).action, PowerStep::Action::none);
    EXPECT_EQ(read(on_battery_at(60)).action, PowerStep::Action::none) << "the row is broken";
    EXPECT_EQ(read(on_battery_at(20)).action, PowerStep::Action::none);
    const PowerStep stop = read(on_battery_at(20, 400));
    EXPECT_EQ(stop.action, PowerStep::Action::stop_node);
    EXPECT_EQ(stop.call, BatteryCall::time_left);
    EXPECT_TRUE(rule_.stop_asked());
    rule_.node_gone(true);
    rule_.node_started();  // the user starts it again on battery: that is their choice
    EXPECT_EQ(read(on_battery_at(18)).action, PowerStep::Action::none);
    EXPECT_EQ(read(on_battery_at(17)).action, PowerStep::Action::none);
    read(on_mains_at(17));
    read(on_battery_at(17));
    EXPECT_EQ(read(on_battery_at(16)).action, PowerStep::Action::stop_node) << "a new battery";

    rule_.node_started();
    read(on_mains_at(16));
    read(on_battery_at(15));
    rule_.suspending(now_);
    now_ -= 21 * second;  // the next reading 9 s after the PC said it sleeps: not counted
    EXPECT_EQ(read(on_battery_at(15)).action, PowerStep::Action::none);
    now_ -= 20 * second;  // 19 s after
    EXPECT_EQ(read(on_battery_at(15)).action, PowerStep::Action::none) << "a new row after sleep";
    EXPECT_EQ(read(on_battery_at(15)).action, PowerStep::Action::stop_node);
}

// A stop that could not be asked is asked again at the next reading of the
// same row, 10 s after at the earliest; mains power, or a reading that does
// not call for it, begins a new row of two.
TEST_F(PowerStopFlow, AStopThatFailedIsAskedAgainInTheSameRowOnly) {
    read(on_battery_at(20));
    ASSERT_EQ(read(on_battery_at(20)).action, PowerStep::Action::stop_node);
    rule_.stop_failed();
    now_ -= 30 * second;  // the same change told again at once
    EXPECT_EQ(read(on_battery_at(20)).action, PowerStep::Action::none) << "told twice";
    now_ -= 20 * second;  // 10 s after
    EXPECT_EQ(read(on_battery_at(20)).action, PowerStep::Action::stop_node) << "asked again";
    rule_.stop_failed();
    read(on_battery_at(60));
    EXPECT_EQ(read(on_battery_at(20)).action, PowerStep::Action::none) << "a new row";
    EXPECT_EQ(read(on_battery_at(20)).action, PowerStep::Action::stop_node);
    rule_.stop_failed();
    read(on_mains_at(20));
    EXPECT_EQ(read(on_battery_at(20)).action, PowerStep::Action::none) << "a new row after mains";
    EXPECT_EQ(read(on_battery_at(20)).action, PowerStep::Action::stop_node);

    rule_ = PowerStopRule();
    read(on_battery_at(20));  // the first of a row
    now_ -= 25 * second;
    read(on_battery_at(60));  // 5 s after, the row broken
    now_ -= 27 * second;      // 3 s after that: the first of a new row
    EXPECT_EQ(read(on_battery_at(20)).action, PowerStep::Action::none);
    now_ -= 20 * second;  // 10 s later
    EXPECT_EQ(read(on_battery_at(20)).action, PowerStep::Action::stop_node) << "two in a row";
}

// A minute of mains power, and the battery charging or at 35 %.
TEST_F(PowerStopFlow, MainsPowerForAMinuteStartsTheNodeItStopped) {
    PowerReading unknown_line = on_mains_at(60, true);
    unknown_line.line = PowerLine::unknown;
    stop_for_power();
    for (int reading = 0; reading < 4; ++reading) {
        EXPECT_EQ(read(unknown_line, false).action, PowerStep::Action::none) << "only mains";
    }
    EXPECT_EQ(read(on_mains_at(34), false).action, PowerStep::Action::none);
    now_ += 29 * second;  // 59 s on mains
    EXPECT_EQ(read(on_mains_at(34), false).action, PowerStep::Action::none);
    EXPECT_EQ(read(on_mains_at(34), false).action, PowerStep::Action::none) << "34 %";
    EXPECT_EQ(read(on_mains_at(35), false).action, PowerStep::Action::start_node);
    EXPECT_EQ(read(on_mains_at(35), false).action, PowerStep::Action::none) << "once";

    stop_for_power();
    read(on_mains_at(10, true), false);
    EXPECT_EQ(read(on_mains_at(10, true), false).action, PowerStep::Action::none);
    EXPECT_EQ(read(on_mains_at(10, true), false).action, PowerStep::Action::start_node)
        << "charging";
    stop_for_power();
    read(on_mains_at(60), false);
    read(on_battery_at(60), false);
    read(on_mains_at(60), false);
    EXPECT_EQ(read(on_mains_at(60), false).action, PowerStep::Action::none)
        << "the minute starts again after a return to the battery";
    EXPECT_EQ(read(on_mains_at(60), false).action, PowerStep::Action::start_node);
}

TEST_F(PowerStopFlow, NeverStartsANodeSomeoneElseStoppedNorOneStoppedWhileOff) {
    struct Case {
        const char* name;
        void (*meanwhile)(PowerStopRule&);
    };
    const Case cases[] = {{"ended, not as asked", [](PowerStopRule& r) { r.node_gone(false); }},
                          {"started and stopped again by the user",
                           [](PowerStopRule& r) {
                               r.node_gone(true);
                               r.node_started();
                               r.node_gone(false);
                           }},
                          {"switched off and on", [](PowerStopRule& r) {
                               r.node_gone(true);
                               r.switched(false);
                               r.switched(true);
                           }}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        rule_ = PowerStopRule();
        read(on_battery_at(20));
        ASSERT_EQ(read(on_battery_at(20)).action, PowerStep::Action::stop_node);
        c.meanwhile(rule_);
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(read(on_mains_at(90, true), false).action, PowerStep::Action::none);
        }
    }
    rule_ = PowerStopRule();
    ticked_ = false;
    read(on_battery_at(20));
    EXPECT_EQ(read(on_battery_at(20)).action, PowerStep::Action::none) << "off";
    ticked_ = true;
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(read(on_mains_at(90, true), false).action, PowerStep::Action::none);
    }
}

TEST(BatteryWords, TellWhyTheNodeStoppedAndWhenItWill) {
    const ExpectedStop last{3 * minute, ExpectedStop::Basis::measured, 3 * minute};
    const ExpectedStop scaled{5 * minute, ExpectedStop::Basis::measured, 3 * minute};
    const ExpectedStop catching_up{15 * minute, ExpectedStop::Basis::default_catching_up, {}};
    const ExpectedStop synced{2 * minute, ExpectedStop::Basis::default_synced, {}};
    EXPECT_EQ(battery_stop_event(on_battery_at(30, 540), BatteryCall::time_left, last),
              "On battery with about 9 minutes left: ZV-KOB stopped the node, whose last stop "
              "took 3 minutes.");
    EXPECT_EQ(battery_stop_event(on_battery_at(25), BatteryCall::charge, scaled),
              "On battery at 25 %: ZV-KOB stopped the node, whose stop should take about 5 "
              "minutes with the cache it holds now (its last took 3 minutes).");
    EXPECT_EQ(battery_stop_event(on_battery_at(40, {}, true), BatteryCall::critical, catching_up),
              "On battery, which Windows reports as critical: ZV-KOB stopped the node, which may "
              "take 15 minutes to stop while it catches up (none of its stops was measured yet).");
    EXPECT_EQ(battery_stop_event(on_battery_at(25), BatteryCall::charge, synced),
              "On battery at 25 %: ZV-KOB stopped the node, which takes about 2 minutes to stop "
              "once synced (none of its stops was measured yet).");

    const BatteryView running{true, true, false, 3 * minute + 30 * second};
    EXPECT_EQ(battery_tooltip_line(on_battery_at(62, 6000), running),
              "On battery (62 %, about 1 h 40 min): the node stops cleanly at 25 % or with about 8 "
              "minutes left");
    EXPECT_EQ(battery_tooltip_line(on_battery_at(20, 45), {true, false, true, 0}),
              "On battery (20 %, about 45 s): ZV-KOB stopped the node; it starts again on mains "
              "power");
    EXPECT_EQ(battery_tooltip_line(on_battery_at(62), {true, false, false, 0}),
              "On battery (62 %)");
    EXPECT_EQ(battery_tooltip_line(on_battery_at(62), {false, true, false, 0}), "") << "off";
    EXPECT_EQ(battery_tooltip_line(on_mains_at(62), running), "");

    const std::pair<std::int64_t, const char*> spans[] = {
        {59'499, "59 seconds"}, {59'500, "1 minute"},      {89'499, "1 minute"},
        {89'500, "2 minutes"},  {3'569'000, "59 minutes"}, {6'000'000, "1 h 40 min"}};
    for (const auto& [ms, words] : spans) {
        EXPECT_EQ(minutes_words(ms), words) << ms;
    }
}

// The PC is let sleep on battery and held again on mains while the node catches up.
TEST(KeepAwakeOnPower, LetsGoOnBatteryAndHoldsAgainOnMains) {
    KeepAwake rules;
    AwakeFacts facts{.ticked = true, .node_runs = true, .condition = NodeCondition::catching_up};
    EXPECT_EQ(keep_awake_on_power(rules, facts, false, 0).action, AwakeStep::Action::hold);
    const AwakeStep on_battery = keep_awake_on_power(rules, facts, true, minute);
    EXPECT_EQ(on_battery.action, AwakeStep::Action::let_go);
    EXPECT_EQ(on_battery.event, "ZV-KOB lets the PC sleep again: the PC runs on battery.");
    EXPECT_EQ(keep_awake_on_power(rules, facts, true, 2 * minute).action, AwakeStep::Action::none);
    EXPECT_EQ(keep_awake_on_power(rules, facts, false, 3 * minute).action, AwakeStep::Action::hold);

    AwakeFacts off = facts;
    off.ticked = false;
    EXPECT_EQ(keep_awake_on_power(rules, off, true, 4 * minute).event,
              "ZV-KOB lets the PC sleep again: Keep the PC Awake While Catching Up was switched "
              "off.");
}

}  // namespace
}  // namespace zvkob
