#include "main_window/countdown.hpp"

#include <gtest/gtest.h>

#include <cstdio>

#include "watched_window.hpp"

namespace zvkob {
namespace {

using testing::CallLog;
using testing::WatchedWindow;

constexpr double second = 1.0 / 86400.0;

TEST(CountdownDisplay, ShowsTheSecondsOfTheAbsoluteValueAsTwoDigits) {
    EXPECT_EQ(countdown_seconds_text(11 * second), "11");
    EXPECT_EQ(countdown_seconds_text(0.0), "00");
    EXPECT_EQ(countdown_seconds_text(-1 * second), "01");
    EXPECT_EQ(countdown_seconds_text(-59 * second), "59");
    EXPECT_EQ(countdown_seconds_text(-60 * second), "00");
    EXPECT_EQ(countdown_seconds_text(-3725 * second), "05");
    EXPECT_EQ(countdown_seconds_text(-(1.0 + 7 * second)), "07") << "a day and seven seconds";
}

std::vector<Control*> lockable(MainWindow& w) {
    return {&w.AUTOSTART_TICKBOX, &w.AUTOCLOSE_TIMER_TICKBOX, &w.LAUNCH_BUTTON,
            &w.SETTINGS_BUTTON,   &w.USE_QT_BAT_TICKBOX,      &w.USE_DAEMON_BAT_TICKBOX};
}

TEST(StartStop, WithoutALaunchModeOnlySettlesTheWindow) {
    WatchedWindow f;
    MainWindow& w = f.w;
    w.START_STOP_BUTTON.set_text("STOP");
    w.SETTINGS_BUTTON.set_enabled(false);
    start_stop_click(w);
    EXPECT_EQ(w.START_STOP_BUTTON.text(), "START");
    EXPECT_FALSE(w.AUTOSTART_TICKBOX.enabled());
    EXPECT_FALSE(w.AUTOCLOSE_TIMER_TICKBOX.enabled());
    EXPECT_FALSE(w.COUNTDOWN_TIMER.enabled());
    EXPECT_TRUE(w.USE_QT_BAT_TICKBOX.enabled() && w.USE_DAEMON_BAT_TICKBOX.enabled());
    EXPECT_FALSE(w.SETTINGS_BUTTON.enabled()) << "left as it was";
}

TEST(StartStop, ArmsThenDisarmsLeavingTheDisplayAndAutoCloseAlone) {
    WatchedWindow f({{"USE_QT_BAT_TICKBOX", "1"}});
    MainWindow& w = f.w;
    w.COUNTDOWN_REMAINING = -5 * second;
    start_stop_click(w);
    EXPECT_EQ(w.START_STOP_BUTTON.text(), "STOP");
    EXPECT_DOUBLE_EQ(w.COUNTDOWN_REMAINING, 11 * second);
    EXPECT_TRUE(w.COUNTDOWN_TIMER.running());
    for (const Control* control : lockable(w)) {
        EXPECT_FALSE(control->enabled()) << control->name();
    }
    EXPECT_EQ(w.AUTORUN_TIMER_TEXTBOX.text(), "-- --") << "the first tick shows the seconds";

    countdown_tick(w);
    w.UNLOAD_TIMER.set_enabled(true);
    start_stop_click(w);
    EXPECT_EQ(w.START_STOP_BUTTON.text(), "START");
    EXPECT_FALSE(w.COUNTDOWN_TIMER.enabled());
    for (const Control* control : lockable(w)) {
        EXPECT_TRUE(control->enabled()) << control->name();
    }
    EXPECT_EQ(w.AUTORUN_TIMER_TEXTBOX.text(), "10");
    EXPECT_TRUE(w.UNLOAD_TIMER.enabled()) << "STOP does not switch auto-close off";
    EXPECT_EQ(w.USE_QT_BAT_TICKBOX.tick(), 1) << "locking changes no tick";
}

TEST(Countdown, CountsFromTenToOneThenLaunchesAtTheEleventhTick) {
    WatchedWindow f({{"USE_QT_BAT_TICKBOX", "1"}});
    MainWindow& w = f.w;
    f.watch(false, false);
    start_stop_click(w);
    for (int shown = 10; shown >= 1; --shown) {
        countdown_tick(w);
        char expected[3];
        std::snprintf(expected, sizeof expected, "%02d", shown);
        ASSERT_EQ(w.AUTORUN_TIMER_TEXTBOX.text(), expected);
    }
    EXPECT_EQ(f.take_log(), CallLog{});
    countdown_tick(w);
    EXPECT_EQ(f.take_log(), (CallLog{"indicator yellow", "run C:\\TARLOWEN\\ZV-KOB\\ZVKOB-QT.BAT",
                                     "pause 3000", "indicator green"}));
    EXPECT_EQ(w.AUTORUN_TIMER_TEXTBOX.text(), "-- --");
    EXPECT_TRUE(w.UNLOAD_TIMER.running());
    EXPECT_FALSE(w.COUNTDOWN_TIMER.enabled());
    EXPECT_EQ(w.START_STOP_BUTTON.text(), "STOP");
}

TEST(Countdown, OverrunsWhileAProgramRunsAndTriesAgainEveryMinute) {
    WatchedWindow f({{"USE_DAEMON_BAT_TICKBOX", "1"}});
    MainWindow& w = f.w;
    f.watch(true, false);
    start_stop_click(w);
    for (int tick = 1; tick <= 11; ++tick) {
        countdown_tick(w);
    }
    EXPECT_EQ(w.AUTORUN_TIMER_TEXTBOX.text(), "-- --");
    EXPECT_TRUE(w.COUNTDOWN_TIMER.running()) << "both must be stopped to launch";
    for (int shown = 1; shown <= 59; ++shown) {
        countdown_tick(w);
        char expected[3];
        std::snprintf(expected, sizeof expected, "%02d", shown);
        ASSERT_EQ(w.AUTORUN_TIMER_TEXTBOX.text(), expected) << "tick " << 11 + shown;
    }
    EXPECT_EQ(f.take_log(), CallLog{});
    f.watch(false, false);
    countdown_tick(w);  // the 71st
    EXPECT_EQ(f.take_log(), (CallLog{"indicator yellow", "run C:\\TARLOWEN\\ZV-KOB\\ZVKOB-D.BAT",
                                     "pause 3000", "indicator green"}));
    EXPECT_TRUE(w.UNLOAD_TIMER.running());
}

TEST(Countdown, AFailedStartAtZeroStopsTheCountdownAndArmsNoAutoClose) {
    WatchedWindow f({{"USE_QT_BAT_TICKBOX", "1"},
                     {"AUTOSTART_TICKBOX", "1"},
                     {"AUTOCLOSE_TIMER_TICKBOX", "1"}});
    MainWindow& w = f.w;
    ASSERT_TRUE(w.COUNTDOWN_TIMER.running()) << "armed by the load";
    f.watch(false, false);
    f.runner.failure = "File not found.";
    for (int tick = 1; tick <= 11; ++tick) {
        countdown_tick(w);
    }
    EXPECT_EQ(f.take_log(), (CallLog{"indicator yellow", "run C:\\TARLOWEN\\ZV-KOB\\ZVKOB-QT.BAT",
                                     "indicator pink", "message"}));
    EXPECT_FALSE(w.COUNTDOWN_TIMER.enabled());
    EXPECT_FALSE(w.UNLOAD_TIMER.enabled());
    EXPECT_EQ(w.START_STOP_BUTTON.text(), "STOP") << "STOP, then START, tries again";
}

}  // namespace
}  // namespace zvkob
