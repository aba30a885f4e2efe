#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "fakes.hpp"
#include "main_window/load_unload.hpp"

namespace zvkob {
namespace {

using testing::CallLog;
using testing::MainWindowFixture;

CallLog store_reads(const CallLog& log) {
    CallLog reads;
    std::copy_if(log.begin(), log.end(), std::back_inserter(reads),
                 [](const std::string& call) { return call.rfind("get ", 0) == 0; });
    return reads;
}

struct LoadTest : ::testing::Test {
    MainWindowFixture f;
    MainWindow& w = f.window;
};

TEST_F(LoadTest, ReadsTheStoreInItsOrder) {
    load_main_window(w);
    EXPECT_EQ(
        store_reads(f.log),
        (CallLog{"get MAIN-Left", "get MAIN-Top", "get MAIN-Width", "get MAIN-Height",
                 "get USE_QT_BAT_TICKBOX", "get USE_DAEMON_BAT_TICKBOX", "get AUTOSTART_TICKBOX",
                 "get AUTOCLOSE_TIMER_TICKBOX", "get AlwaysOnTopTimer_TICKBOX",
                 "get BAT_QT_RUN_COMMAND_TEXTBOX", "get BAT_DAEMON_RUN_COMMAND_TEXTBOX",
                 "get QT_NAME_TEXTBOX", "get DAEMOND_NAME_TEXTBOX"}));
}

TEST_F(LoadTest, FirstStartShowsEveryDefault) {
    EXPECT_EQ(w.frame.caption(), "TARLOWEN - ZV-KOB - ");
    load_main_window(w);
    EXPECT_EQ(w.frame.left(), 1000.0F);
    EXPECT_EQ(w.frame.top(), 1000.0F);
    EXPECT_EQ(w.frame.width(), 4530.0F);
    EXPECT_EQ(w.frame.height(), 2565.0F);
    EXPECT_EQ(w.frame.caption(), "TARLOWEN - ZV-KOB - ZV-KOB");
    EXPECT_EQ(w.APP_EXE_NAME_LABEL.text(), "ZV-KOB");
    EXPECT_EQ(w.USE_QT_BAT_TICKBOX.tick(), 0);
    EXPECT_EQ(w.USE_DAEMON_BAT_TICKBOX.tick(), 0);
    EXPECT_EQ(w.AUTOSTART_TICKBOX.tick(), 0);
    EXPECT_EQ(w.AUTOCLOSE_TIMER_TICKBOX.tick(), 0);
    EXPECT_EQ(w.AlwaysOnTopTimer_TICKBOX.tick(), 1);
    for (const TextBox* box : {&w.BAT_QT_RUN_COMMAND_TEXTBOX, &w.BAT_DAEMON_RUN_COMMAND_TEXTBOX,
                               &w.QT_NAME_TEXTBOX, &w.DAEMOND_NAME_TEXTBOX}) {
        EXPECT_EQ(box->text(), "") << box->name();
    }
    EXPECT_EQ(w.EXE_QT_RUN_COMMAND_TEXTBOX.text(), "EXE_QT_RUN_COMMAND_TEXTBOX");
    EXPECT_DOUBLE_EQ(w.COUNTDOWN_REMAINING, 11.0 / 86400.0);

    EXPECT_TRUE(w.AlwaysOnTopTimer.running());
    EXPECT_EQ(w.AlwaysOnTopTimer.interval_ms(), 1000);
    EXPECT_TRUE(w.KOB_PROCESS_WATCHER_TIMER.running());
    EXPECT_EQ(w.KOB_PROCESS_WATCHER_TIMER.interval_ms(), 500);
    EXPECT_EQ(w.COUNTDOWN_TIMER.interval_ms(), 1000);
    EXPECT_FALSE(w.COUNTDOWN_TIMER.enabled());
    EXPECT_EQ(w.UNLOAD_TIMER.interval_ms(), 10000);
    EXPECT_FALSE(w.UNLOAD_TIMER.enabled());

    EXPECT_EQ(w.START_STOP_BUTTON.text(), "START");
    EXPECT_FALSE(w.LAUNCH_BUTTON.enabled());
    EXPECT_TRUE(w.SETTINGS_BUTTON.enabled());
    EXPECT_TRUE(w.USE_QT_BAT_TICKBOX.enabled());
    EXPECT_TRUE(w.USE_DAEMON_BAT_TICKBOX.enabled());
    EXPECT_FALSE(w.AUTOSTART_TICKBOX.enabled());
    EXPECT_FALSE(w.AUTOCLOSE_TIMER_TICKBOX.enabled());
    EXPECT_EQ(w.QT_PROCESS_ACTIVE_LABEL.text(), "!!! NOT MONITORING !!!");
    EXPECT_EQ(w.QT_PROCESS_ACTIVE_LABEL.back_colour(), colours::cyan);
    EXPECT_EQ(w.AUTORUN_TIMER_TEXTBOX.text(), "-- --");
    EXPECT_EQ(w.AUTORUN_TIMER_TEXTBOX.back_colour(), colours::pink);
}

TEST_F(LoadTest, StoredLaunchModeWithAutoStartArmsTheCountdown) {
    f.store.values = {
        {"USE_QT_BAT_TICKBOX", "1"}, {"AUTOSTART_TICKBOX", "1"}, {"AUTOCLOSE_TIMER_TICKBOX", "1"}};
    load_main_window(w);
    EXPECT_EQ(w.START_STOP_BUTTON.text(), "STOP");
    EXPECT_TRUE(w.COUNTDOWN_TIMER.running());
    for (const Control* locked : std::initializer_list<const Control*>{
             &w.SETTINGS_BUTTON, &w.LAUNCH_BUTTON, &w.USE_QT_BAT_TICKBOX, &w.USE_DAEMON_BAT_TICKBOX,
             &w.AUTOSTART_TICKBOX, &w.AUTOCLOSE_TIMER_TICKBOX}) {
        EXPECT_FALSE(locked->enabled()) << locked->name();
    }
    EXPECT_EQ(w.USE_QT_BAT_TICKBOX.tick(), 1);
    EXPECT_EQ(w.USE_DAEMON_BAT_TICKBOX.tick(), 0);
    EXPECT_EQ(w.AUTOSTART_TICKBOX.tick(), 1);
    EXPECT_EQ(w.AUTOCLOSE_TIMER_TICKBOX.tick(), 1);
}

TEST_F(LoadTest, StoredLaunchModeWithoutAutoStartWaitsForTheUser) {
    f.store.values = {{"USE_DAEMON_BAT_TICKBOX", "1"}};
    load_main_window(w);
    EXPECT_EQ(w.START_STOP_BUTTON.text(), "START");
    EXPECT_FALSE(w.COUNTDOWN_TIMER.enabled());
    EXPECT_TRUE(w.SETTINGS_BUTTON.enabled());
    EXPECT_TRUE(w.LAUNCH_BUTTON.enabled());
    EXPECT_TRUE(w.USE_QT_BAT_TICKBOX.enabled());
    EXPECT_TRUE(w.USE_DAEMON_BAT_TICKBOX.enabled());
    EXPECT_EQ(w.USE_DAEMON_BAT_TICKBOX.tick(), 1);
}

TEST_F(LoadTest, StoredAutoStartWithoutLaunchModeArmsNothing) {
    f.store.values = {{"AUTOSTART_TICKBOX", "1"}};
    load_main_window(w);
    EXPECT_EQ(w.START_STOP_BUTTON.text(), "START");
    EXPECT_FALSE(w.COUNTDOWN_TIMER.enabled());
    EXPECT_EQ(w.AUTOSTART_TICKBOX.tick(), 1);
    EXPECT_FALSE(w.AUTOSTART_TICKBOX.enabled());
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
    EXPECT_EQ(w.BAT_QT_RUN_COMMAND_TEXTBOX.text(), "C:\\Node Tools\\ZVKOB-QT.BAT");
    EXPECT_EQ(w.QT_NAME_TEXTBOX.text(), " bitcoin-qt.exe ") << "texts are never trimmed";
}

TEST_F(LoadTest, HandEditedValuesFallBackToDefaultsInsteadOfStopping) {
    f.store.values = {{"MAIN-Left", "over there"},  {"MAIN-Width", "1"},
                      {"MAIN-Height", "0"},         {"USE_QT_BAT_TICKBOX", "7"},
                      {"AUTOSTART_TICKBOX", "yes"}, {"AlwaysOnTopTimer_TICKBOX", ""}};
    load_main_window(w);
    EXPECT_EQ(w.frame.left(), 1000.0F);
    EXPECT_EQ(w.frame.width(), 4530.0F) << "never smaller than designed";
    EXPECT_EQ(w.frame.height(), 2565.0F);
    EXPECT_EQ(w.USE_QT_BAT_TICKBOX.tick(), 0);
    EXPECT_EQ(w.AUTOSTART_TICKBOX.tick(), 0);
    EXPECT_EQ(w.AlwaysOnTopTimer_TICKBOX.tick(), 1);
    EXPECT_TRUE(w.AlwaysOnTopTimer.running());
}

TEST_F(LoadTest, StoredAlwaysOnTopClearKeepsTheTimerOffAndTheWindowOutOfTheTopmostBand) {
    f.store.values = {{"AlwaysOnTopTimer_TICKBOX", "0"}};
    load_main_window(w);
    EXPECT_EQ(w.AlwaysOnTopTimer_TICKBOX.tick(), 0);
    EXPECT_FALSE(w.AlwaysOnTopTimer.enabled());
    const CallLog& log = f.log;
    EXPECT_EQ(std::count(log.begin(), log.end(), "topmost 100"), 0);
}

TEST_F(LoadTest, RunsTheRuleOfARestoredTickAtOnceBeforeTheNextStep) {
    w.USE_QT_BAT_TICKBOX.set_on_click([this] { f.log.push_back("QT rule"); });
    w.USE_DAEMON_BAT_TICKBOX.set_on_click([this] { f.log.push_back("DAEMON rule"); });
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
