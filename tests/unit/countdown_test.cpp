#include "main_window/starting/countdown_events.hpp"

#include <gtest/gtest.h>

#include <cstdio>

#include "main_window/event_order.hpp"
#include "main_window/starting/launcher.hpp"
#include "main_window/shown_state.hpp"
#include "guardian/flows/stop_node.hpp"
#include "watched_window.hpp"
#include "main_window/window_menu.hpp"

namespace zvkob {
namespace {

using testing::CallLog;
using testing::WatchedWindow;

constexpr std::chrono::milliseconds second = std::chrono::seconds(1);

TEST(CountdownDisplay, ShowsTheSecondsOfTheAbsoluteValueAsTwoDigits) {
    EXPECT_EQ(countdown_text(11 * second), "11");
    EXPECT_EQ(countdown_text(0 * second), "00");
    EXPECT_EQ(countdown_text(-1 * second), "01");
    EXPECT_EQ(countdown_text(-59 * second), "59");
    EXPECT_EQ(countdown_text(-60 * second), "00");
    EXPECT_EQ(countdown_text(-3725 * second), "05");
    EXPECT_EQ(countdown_text(-(std::chrono::hours(24) + 7 * second)), "07")
        << "a day and seven seconds";
    EXPECT_EQ(countdown_text(59 * second), "59");
    EXPECT_EQ(countdown_text(60 * second), "1:00") << "a restart that waits shows minutes";
    EXPECT_EQ(countdown_text(71 * second), "1:11");
    EXPECT_EQ(countdown_text(119 * second), "1:59");
    EXPECT_EQ(countdown_text(911 * second), "15:11");
}

std::vector<Control*> lockable(MainWindow& w) {
    return {&w.auto_start,      &w.auto_close, &w.launch_button,
            &w.settings_button, &w.qt.chosen,  &w.daemon.chosen};
}

TEST(StartStop, WithoutALaunchModeOnlySettlesTheWindow) {
    WatchedWindow f;
    MainWindow& w = f.w;
    w.start_stop_button.set_text("STOP");
    for (Control* control : lockable(w)) {  // as a countdown left them, and worse
        control->set_enabled(control == &w.auto_start || control == &w.auto_close);
    }
    w.countdown_timer.set_enabled(true);
    start_stop_click(w);
    EXPECT_EQ(w.start_stop_button.text(), "START");
    EXPECT_FALSE(w.auto_start.enabled());
    EXPECT_FALSE(w.auto_close.enabled());
    EXPECT_FALSE(w.countdown_timer.enabled());
    EXPECT_TRUE(w.qt.chosen.enabled() && w.daemon.chosen.enabled());
    EXPECT_FALSE(w.settings_button.enabled()) << "left as it was";
}

TEST(StartStop, ArmsThenDisarmsLeavingTheDisplayAndAutoCloseAlone) {
    WatchedWindow f({{"USE_QT_BAT_TICKBOX", "1"}});
    MainWindow& w = f.w;
    w.countdown.arm(StartRequest::countdown, -16 * second);  // five seconds past zero
    start_stop_click(w);
    EXPECT_EQ(w.start_stop_button.text(), "STOP");
    EXPECT_EQ(w.countdown.remaining(), 11 * second);
    EXPECT_TRUE(w.countdown_timer.running());
    for (const Control* control : lockable(w)) {
        EXPECT_FALSE(control->enabled()) << control->name();
    }
    EXPECT_EQ(w.countdown_display.text(), "-- --") << "the first tick shows the seconds";

    countdown_tick(w);
    w.auto_close_timer.set_enabled(true);
    start_stop_click(w);
    EXPECT_EQ(w.start_stop_button.text(), "START");
    EXPECT_FALSE(w.countdown_timer.enabled());
    for (const Control* control : lockable(w)) {
        EXPECT_TRUE(control->enabled()) << control->name();
    }
    EXPECT_EQ(w.countdown_display.text(), "10");
    EXPECT_TRUE(w.auto_close_timer.enabled()) << "STOP does not switch auto-close off";
    EXPECT_EQ(w.qt.chosen.tick(), 1) << "locking changes no tick";
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
        ASSERT_EQ(w.countdown_display.text(), expected);
    }
    EXPECT_EQ(f.take_log(), CallLog{});
    countdown_tick(w);
    EXPECT_EQ(f.take_log(), (CallLog{"indicator yellow", "run C:\\TARLOWEN\\ZV-KOB\\ZVKOB-QT.BAT",
                                     "pause 3000", "indicator green"}));
    EXPECT_EQ(w.countdown_display.text(), "-- --");
    EXPECT_TRUE(w.auto_close_timer.running());
    EXPECT_FALSE(w.countdown_timer.enabled());
    EXPECT_EQ(w.start_stop_button.text(), "STOP");
}

TEST(Countdown, OverrunsWhileAProgramRunsAndTriesAgainEveryMinute) {
    WatchedWindow f({{"USE_DAEMON_BAT_TICKBOX", "1"}});
    MainWindow& w = f.w;
    f.watch(true, false);
    start_stop_click(w);
    for (int tick = 1; tick <= 10; ++tick) {
        countdown_tick(w);
    }
    const std::vector<Control*> held_at_zero{&w.settings_button, &w.auto_start, &w.auto_close};
    for (Control* control : held_at_zero) {
        control->set_enabled(true);
    }
    countdown_tick(w);
    EXPECT_EQ(w.countdown_display.text(), "-- --");
    EXPECT_TRUE(w.countdown_timer.running()) << "both must be stopped to launch";
    for (Control* control : held_at_zero) {
        EXPECT_FALSE(control->enabled()) << "held while the start waits";
    }
    for (int shown = 1; shown <= 59; ++shown) {
        countdown_tick(w);
        char expected[3];
        std::snprintf(expected, sizeof expected, "%02d", shown);
        ASSERT_EQ(w.countdown_display.text(), expected) << "tick " << 11 + shown;
    }
    EXPECT_EQ(f.take_log(), CallLog{});
    f.watch(false, false);
    countdown_tick(w);  // the 71st
    EXPECT_EQ(f.take_log(), (CallLog{"indicator yellow", "run C:\\TARLOWEN\\ZV-KOB\\ZVKOB-D.BAT",
                                     "pause 3000", "indicator green"}));
    EXPECT_TRUE(w.auto_close_timer.running());
}

TEST(Countdown, AFailedStartAtZeroStopsTheCountdownAndArmsNoAutoClose) {
    WatchedWindow f({{"USE_QT_BAT_TICKBOX", "1"},
                     {"AUTOSTART_TICKBOX", "1"},
                     {"AUTOCLOSE_TIMER_TICKBOX", "1"}});
    MainWindow& w = f.w;
    ASSERT_TRUE(w.countdown_timer.running()) << "armed by the load";
    f.watch(false, false);
    f.runner.failure = "File not found.";
    for (int tick = 1; tick <= 11; ++tick) {
        countdown_tick(w);
    }
    EXPECT_EQ(f.take_log(), (CallLog{"indicator yellow", "run C:\\TARLOWEN\\ZV-KOB\\ZVKOB-QT.BAT",
                                     "indicator pink", "message"}));
    EXPECT_FALSE(w.countdown_timer.enabled());
    EXPECT_FALSE(w.auto_close_timer.enabled());
    EXPECT_EQ(w.start_stop_button.text(), "STOP") << "STOP, then START, tries again";
}

// What the display, the labels' tooltips and Auto Close's tooltip show is
// worked out from the state alone, so no feature can erase another's text.
TEST(ShownState, FollowsTheStateOfTheWindowAndItsNodes) {
    WatchedWindow f({{"USE_DAEMON_BAT_TICKBOX", "1"},
                     {"KEEP_NODE_RUNNING", "1"},
                     {"CHECK_DATA_DRIVE", "1"},
                     {"BLOCKCHAIN_FOLDER_TEXTBOX", "E:\\Chain"}});
    MainWindow& w = f.w;
    const auto shown = [&] { return what_the_window_shows(w, f.clock.now); };
    f.watch(false, false);
    EXPECT_EQ(shown().display_text, "-- --");
    EXPECT_EQ(shown().display_colour, colours::pink);
    EXPECT_EQ(shown().display_tip + shown().daemon_tip + shown().auto_close_tip, "");

    start_stop_click(w);
    countdown_tick(w);
    EXPECT_EQ(shown().display_text, "10");
    f.files.missing = {"E:\\Chain"};
    for (int tick = 0; tick < 10; ++tick) {
        countdown_tick(w);
    }
    EXPECT_EQ(shown().display_text, "wait");
    EXPECT_EQ(shown().display_tip,
              "ZV-KOB is waiting for E:\\Chain (is its drive connected?); STOP cancels.");
    f.files.missing.clear();
    countdown_tick(w);  // starts the node
    f.watch(false, true);

    w.auto_close.set_tick(1);
    EXPECT_NE(shown().auto_close_tip.find("Keep Node Running is on"), std::string::npos);
    EXPECT_NE(shown().display_tip.find("Keep Node Running is on"), std::string::npos)
        << "auto-close is armed after the automatic start";

    stop_node_clicked(w);
    f.clock.advance(20'000);
    EXPECT_EQ(shown().display_text, "stop");
    EXPECT_NE(shown().daemon_tip.find("Stopping: asked 20 s ago"), std::string::npos);
    EXPECT_NE(shown().display_tip.find("Stopping: asked 20 s ago"), std::string::npos);
    EXPECT_NE(shown().display_tip.find("Keep Node Running is on"), std::string::npos)
        << "one text does not erase the other";

    f.probe.failures[testing::daemon_image] = "The query failed.";
    f.watch(false, true);
    EXPECT_NE(shown().daemon_tip.find("ZV-KOB cannot tell whether \"bitcoind.exe\" runs"),
              std::string::npos);
    EXPECT_NE(shown().daemon_tip.find("Stopping:"), std::string::npos);
    f.probe.failures.clear();
    f.watch(false, false);
    EXPECT_EQ(shown().display_text, "-- --") << "the display is the countdown's again";
    EXPECT_EQ(shown().daemon_tip, "");
}

}  // namespace
}  // namespace zvkob
