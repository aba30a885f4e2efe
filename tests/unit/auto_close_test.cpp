#include "main_window/auto_close.hpp"

#include <gtest/gtest.h>

#include <stdexcept>

#include "main_window/closing.hpp"

#include "watched_window.hpp"

namespace zvkob {
namespace {

using testing::CallLog;
using testing::WatchedWindow;

TEST(AutoClose, ClosesTheWindowOnceAProgramRuns) {
    WatchedWindow f({{"AUTOCLOSE_TIMER_TICKBOX", "1"}});
    f.w.UNLOAD_TIMER.set_enabled(true);
    f.watch(false, true);
    auto_close_tick(f.w);
    EXPECT_EQ(f.take_log(), (CallLog{"indicator red", "close main"}));
}

TEST(AutoClose, GivesUpWhenNothingRuns) {
    WatchedWindow f({{"AUTOCLOSE_TIMER_TICKBOX", "1"}});
    MainWindow& w = f.w;
    w.AUTORUN_TIMER_TEXTBOX.set_back_colour(colours::green);
    w.UNLOAD_TIMER.set_enabled(true);
    f.watch(false, false);
    f.take_log();
    auto_close_tick(w);
    EXPECT_EQ(f.take_log(), CallLog{"indicator pink"});
    EXPECT_FALSE(w.UNLOAD_TIMER.enabled());
}

TEST(AutoClose, WithAutoCloseClearKeepsTestingWithoutEffect) {
    WatchedWindow f;
    MainWindow& w = f.w;
    w.UNLOAD_TIMER.set_enabled(true);
    f.watch(true, false);
    auto_close_tick(w);
    EXPECT_EQ(f.take_log(), CallLog{});
    EXPECT_TRUE(w.UNLOAD_TIMER.running());
}

// A close asked for while the settings window is open closes that window
// first, and the main window once it has gone; also after an opening that failed.
TEST(Closing, WaitsForTheSettingsWindowAndSurvivesAFailedOpening) {
    WatchedWindow f({{"AUTOCLOSE_TIMER_TICKBOX", "1"}});
    MainWindow& w = f.w;
    f.watch(true, false);
    f.windows.while_settings_shown = [&] {
        auto_close_tick(w);
        EXPECT_FALSE(main_may_close_now(w)) << "a close from outside waits too";
    };
    w.SETTINGS_BUTTON.click();
    EXPECT_EQ(f.take_log(), (CallLog{"show settings", "indicator red", "close settings window",
                                     "close settings window", "close main"}));
    EXPECT_TRUE(main_may_close_now(w));

    f.windows.while_settings_shown = [] { throw std::runtime_error("no window"); };
    EXPECT_THROW(w.SETTINGS_BUTTON.click(), std::runtime_error);
    f.windows.while_settings_shown = nullptr;
    f.take_log();
    w.SETTINGS_BUTTON.click();
    EXPECT_EQ(f.take_log(), CallLog{"show settings"}) << "Settings opens again";
    auto_close_tick(w);
    EXPECT_EQ(f.take_log(), (CallLog{"close main"})) << "and auto-close is not held up";
}

TEST(AutoStartRule, GatesAutoClose) {
    WatchedWindow f({{"USE_QT_BAT_TICKBOX", "1"}});
    MainWindow& w = f.w;
    w.AUTOSTART_TICKBOX.click();
    EXPECT_TRUE(w.AUTOCLOSE_TIMER_TICKBOX.enabled());
    EXPECT_EQ(w.AUTOCLOSE_TIMER_TICKBOX.tick(), 0) << "enabled, not ticked";
    w.AUTOCLOSE_TIMER_TICKBOX.click();
    w.AUTOSTART_TICKBOX.click();
    EXPECT_FALSE(w.AUTOCLOSE_TIMER_TICKBOX.enabled());
    EXPECT_EQ(w.AUTOCLOSE_TIMER_TICKBOX.tick(), 0);
}

}  // namespace
}  // namespace zvkob
