#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "fakes.hpp"
#include "main_window/load_unload.hpp"
#include "main_window/main_window_layout.hpp"

namespace zvkob {
namespace {

using testing::CallLog;
using testing::MainWindowFixture;

struct LoadTest : ::testing::Test {
    MainWindowFixture f;
    MainWindow& w = f.window;
};

TEST_F(LoadTest, ReadsItsKeysOnceAndStoresNothing) {
    load_main_window(w);
    CallLog reads = testing::calls_starting(f.log, "get ");
    std::sort(reads.begin(), reads.end());
    EXPECT_EQ(reads, (CallLog{"get AUTOCLOSE_TIMER_TICKBOX",
                              "get AUTOSTART_TICKBOX",
                              "get AlwaysOnTopTimer_TICKBOX",
                              "get BACKUP_FOLDER",
                              "get BATTERY_STOP",
                              "get BAT_DAEMON_RUN_COMMAND_TEXTBOX",
                              "get BAT_QT_RUN_COMMAND_TEXTBOX",
                              "get BLOCKCHAIN_FOLDER_TEXTBOX",
                              "get CHECK_DATA_DRIVE",
                              "get DAEMOND_NAME_TEXTBOX",
                              "get KEEP_AWAKE",
                              "get KEEP_NODE_RUNNING",
                              "get MAIN-Height",
                              "get MAIN-Left",
                              "get MAIN-Top",
                              "get MAIN-Width",
                              "get METERED_PAUSE",
                              "get NODE_LOW_PRIORITY",
                              "get NODE_PROGRESS",
                              "get NOTIFICATION_AREA",
                              "get QT_NAME_TEXTBOX",
                              "get SAFE_SIGN_OUT",
                              "get USE_DAEMON_BAT_TICKBOX",
                              "get USE_QT_BAT_TICKBOX"}));
}

TEST_F(LoadTest, FirstStartShowsEveryDefault) {
    EXPECT_EQ(w.frame.caption(), "TARLOWEN - ZV-KOB - ");
    load_main_window(w);
    EXPECT_EQ(w.frame.left(), 1000.0F);
    EXPECT_EQ(w.frame.top(), 1000.0F);
    EXPECT_EQ(w.frame.width(), 4530.0F);
    EXPECT_EQ(w.frame.height(), 2565.0F);
    EXPECT_EQ(w.frame.caption(), "TARLOWEN - ZV-KOB - ZV-KOB");
    EXPECT_EQ(w.instance_label.text(), "ZV-KOB");
    EXPECT_EQ(w.qt.chosen.tick(), 0);
    EXPECT_EQ(w.daemon.chosen.tick(), 0);
    EXPECT_EQ(w.auto_start.tick(), 0);
    EXPECT_EQ(w.auto_close.tick(), 0);
    EXPECT_EQ(w.always_on_top.tick(), 1);
    for (const std::string* text :
         {&w.qt.batch_path, &w.daemon.batch_path, &w.qt.image, &w.daemon.image}) {
        EXPECT_EQ(*text, "");
    }
    EXPECT_EQ(w.controls.of(main_layout::unused_qt_command).text(), "EXE_QT_RUN_COMMAND_TEXTBOX");
    EXPECT_EQ(w.countdown.remaining(), std::chrono::seconds(11));
    EXPECT_EQ(testing::calls_starting(f.log, "shutdown level "), CallLog{"shutdown level 1023"})
        << "asked before the node (0x280) whether the session may end";

    EXPECT_TRUE(w.always_on_top_timer.running());
    EXPECT_EQ(w.always_on_top_timer.interval_ms(), 1000);
    EXPECT_TRUE(w.watcher_timer.running());
    EXPECT_EQ(w.watcher_timer.interval_ms(), 500);
    EXPECT_EQ(w.countdown_timer.interval_ms(), 1000);
    EXPECT_FALSE(w.countdown_timer.enabled());
    EXPECT_EQ(w.auto_close_timer.interval_ms(), 10000);
    EXPECT_FALSE(w.auto_close_timer.enabled());

    EXPECT_EQ(w.start_stop_button.text(), "START");
    EXPECT_FALSE(w.launch_button.enabled());
    EXPECT_TRUE(w.settings_button.enabled());
    EXPECT_TRUE(w.qt.chosen.enabled());
    EXPECT_TRUE(w.daemon.chosen.enabled());
    EXPECT_FALSE(w.auto_start.enabled());
    EXPECT_FALSE(w.auto_close.enabled());
    EXPECT_EQ(w.qt.status.label().text(), "!!! NOT MONITORING !!!");
    EXPECT_EQ(w.qt.status.label().back_colour(), colours::cyan);
    EXPECT_EQ(w.countdown_display.text(), "-- --");
    EXPECT_EQ(w.countdown_display.back_colour(), colours::pink);
}

TEST_F(LoadTest, StoredLaunchModeWithAutoStartArmsTheCountdown) {
    f.store.values = {
        {"USE_QT_BAT_TICKBOX", "1"}, {"AUTOSTART_TICKBOX", "1"}, {"AUTOCLOSE_TIMER_TICKBOX", "1"}};
    load_main_window(w);
    EXPECT_EQ(w.start_stop_button.text(), "STOP");
    EXPECT_TRUE(w.countdown_timer.running());
    for (const Control* locked :
         std::initializer_list<const Control*>{&w.settings_button, &w.launch_button, &w.qt.chosen,
                                               &w.daemon.chosen, &w.auto_start, &w.auto_close}) {
        EXPECT_FALSE(locked->enabled()) << locked->name();
    }
    EXPECT_EQ(w.qt.chosen.tick(), 1);
    EXPECT_EQ(w.daemon.chosen.tick(), 0);
    EXPECT_EQ(w.auto_start.tick(), 1);
    EXPECT_EQ(w.auto_close.tick(), 1);
}

TEST_F(LoadTest, StoredLaunchModeWithoutAutoStartWaitsForTheUser) {
    f.store.values = {{"USE_DAEMON_BAT_TICKBOX", "1"}};
    load_main_window(w);
    EXPECT_EQ(w.start_stop_button.text(), "START");
    EXPECT_FALSE(w.countdown_timer.enabled());
    EXPECT_TRUE(w.settings_button.enabled());
    EXPECT_TRUE(w.launch_button.enabled());
    EXPECT_TRUE(w.qt.chosen.enabled());
    EXPECT_TRUE(w.daemon.chosen.enabled());
    EXPECT_EQ(w.daemon.chosen.tick(), 1);
}

TEST_F(LoadTest, StoredAutoStartWithoutLaunchModeArmsNothing) {
    f.store.values = {{"AUTOSTART_TICKBOX", "1"}};
    load_main_window(w);
    EXPECT_EQ(w.start_stop_button.text(), "START");
    EXPECT_FALSE(w.countdown_timer.enabled());
    EXPECT_EQ(w.auto_start.tick(), 1);
    EXPECT_FALSE(w.auto_start.enabled());
}

TEST_F(LoadTest, RestoresStoredTextsAndGeometryUnchanged) {
    f.store.values = {{"MAIN-Left", "-1500"},
                      {"MAIN-Top", "2250.5"},
                      {"MAIN-Width", "6000"},
                      {"MAIN-Height", "3000"},
                      {"BAT_QT_RUN_COMMAND_TEXTBOX", "C:\\Node Tools\\ZVKOB-QT.BAT"},
                      {"QT_NAME_TEXTBOX", " bitcoin-qt.exe "}};
    load_main_window(w);
    EXPECT_EQ(w.frame.left(), -1500.0F);
    EXPECT_EQ(w.frame.top(), 2250.5F);
    EXPECT_EQ(w.frame.width(), 6000.0F);
    EXPECT_EQ(w.frame.height(), 3000.0F);
    EXPECT_EQ(w.qt.batch_path, "C:\\Node Tools\\ZVKOB-QT.BAT");
    EXPECT_EQ(w.qt.image, " bitcoin-qt.exe ") << "texts are never trimmed";
}

TEST_F(LoadTest, HandEditedValuesFallBackToDefaultsInsteadOfStopping) {
    f.store.values = {{"MAIN-Left", "over there"},
                      {"MAIN-Top", "-2000"},
                      {"MAIN-Width", "1"},
                      {"MAIN-Height", "0"},
                      {"USE_QT_BAT_TICKBOX", "7"},
                      {"AUTOSTART_TICKBOX", "yes"},
                      {"AlwaysOnTopTimer_TICKBOX", ""}};
    load_main_window(w);
    EXPECT_EQ(w.frame.left(), 1000.0F);
    EXPECT_EQ(w.frame.top(), -2000.0F) << "a position left of or above the main screen is valid";
    EXPECT_EQ(w.frame.width(), 4530.0F) << "never smaller than designed";
    EXPECT_EQ(w.frame.height(), 2565.0F);
    EXPECT_EQ(w.qt.chosen.tick(), 0);
    EXPECT_EQ(w.auto_start.tick(), 0);
    EXPECT_EQ(w.always_on_top.tick(), 1);
    EXPECT_TRUE(w.always_on_top_timer.running());
}

TEST_F(LoadTest, StoredAlwaysOnTopClearKeepsTheTimerOffAndTheWindowOutOfTheTopmostBand) {
    f.store.values = {{"AlwaysOnTopTimer_TICKBOX", "0"}};
    load_main_window(w);
    EXPECT_EQ(w.always_on_top.tick(), 0);
    EXPECT_FALSE(w.always_on_top_timer.enabled());
    EXPECT_EQ(testing::calls_starting(f.log, "topmost"), CallLog{})
        << "never lifted into the topmost band";
    EXPECT_THAT(f.log, ::testing::Contains("not topmost 100"))
        << "taken out of it at once, in case it was left there";
}

TEST_F(LoadTest, RunsTheRuleOfARestoredTickAtOnceBeforeTheNextStep) {
    w.qt.chosen.set_on_click([this] { f.log.push_back("QT rule"); });
    w.daemon.chosen.set_on_click([this] { f.log.push_back("DAEMON rule"); });
    f.store.values = {{"USE_QT_BAT_TICKBOX", "1"}};
    load_main_window(w);
    const auto qt_read = std::find(f.log.begin(), f.log.end(), "get USE_QT_BAT_TICKBOX");
    ASSERT_NE(qt_read, f.log.end());
    EXPECT_EQ(*(qt_read + 1), "QT rule");
    EXPECT_EQ(*(qt_read + 2), "get USE_DAEMON_BAT_TICKBOX");
    EXPECT_EQ(std::count(f.log.begin(), f.log.end(), "DAEMON rule"), 0)
        << "an unchanged tick runs no rule";
}

}  // namespace
}  // namespace zvkob
