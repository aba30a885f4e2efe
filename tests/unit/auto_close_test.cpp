#include "main_window/starting/auto_close.hpp"

#include <gtest/gtest.h>

#include <stdexcept>

#include "main_window/closing_events.hpp"

#include "watched_window.hpp"

namespace zvkob {
namespace {

using testing::CallLog;
using testing::WatchedWindow;

// Auto-close asks the process query afresh: it acts on what runs now.
TEST(AutoClose, ClosesTheWindowOnceAProgramRuns) {
    WatchedWindow f({{"AUTOCLOSE_TIMER_TICKBOX", "1"}});
    f.w.auto_close_timer.set_enabled(true);
    f.watch(false, false);
    f.probe.running = {testing::daemon_image};
    auto_close_tick(f.w);
    EXPECT_EQ(f.take_log(), (CallLog{"probe bitcoin-qt.exe", "probe bitcoind.exe", "indicator red",
                                     "close main"}));
}

TEST(AutoClose, GivesUpWhenNothingRuns) {
    WatchedWindow f({{"AUTOCLOSE_TIMER_TICKBOX", "1"}});
    MainWindow& w = f.w;
    w.indicator = colours::green;
    w.auto_close_timer.set_enabled(true);
    f.watch(true, false);
    f.probe.running.clear();
    auto_close_tick(w);
    EXPECT_EQ(f.take_log(),
              (CallLog{"probe bitcoin-qt.exe", "probe bitcoind.exe", "indicator pink"}));
    EXPECT_FALSE(w.auto_close_timer.enabled());
}

TEST(AutoClose, WithAutoCloseClearKeepsTestingWithoutEffect) {
    WatchedWindow f;
    MainWindow& w = f.w;
    w.auto_close_timer.set_enabled(true);
    f.watch(true, false);
    auto_close_tick(w);
    EXPECT_EQ(f.take_log(), CallLog{});
    EXPECT_TRUE(w.auto_close_timer.running());
}

// Due while the settings window is open, auto-close closes that window by
// its own handle first, then decides again: the node stopped meanwhile, so
// ZV-KOB stays. A close the user asked for meanwhile is carried out.
TEST(Closing, TheSettingsWindowClosesFirstAndAutoCloseDecidesAgain) {
    WatchedWindow f({{"AUTOCLOSE_TIMER_TICKBOX", "1"}});
    MainWindow& w = f.w;
    w.auto_close_timer.set_enabled(true);
    f.watch(true, false);
    f.windows.while_settings_shown = [&] {
        auto_close_tick(w);
        f.probe.running.clear();
    };
    w.settings_button.click();
    EXPECT_EQ(f.take_log(),
              (CallLog{"show settings", "probe bitcoin-qt.exe", "probe bitcoind.exe",
                       "indicator red", "close settings window", "probe bitcoin-qt.exe",
                       "probe bitcoind.exe", "indicator pink"}));
    EXPECT_FALSE(w.auto_close_timer.enabled());

    f.windows.while_settings_shown = [&] { EXPECT_FALSE(main_may_close_now(w)); };
    w.settings_button.click();
    EXPECT_EQ(f.take_log(), (CallLog{"show settings", "close settings window", "close main"}));
    EXPECT_TRUE(main_may_close_now(w));
}

TEST(Closing, SettingsOpensAgainAfterAFailedOpeningAndAutoCloseIsNotHeldUp) {
    WatchedWindow f({{"AUTOCLOSE_TIMER_TICKBOX", "1"}});
    MainWindow& w = f.w;
    f.windows.while_settings_shown = [] { throw std::runtime_error("no window"); };
    EXPECT_THROW(w.settings_button.click(), std::runtime_error);
    f.windows.while_settings_shown = nullptr;
    f.take_log();
    w.settings_button.click();
    EXPECT_EQ(f.take_log(), CallLog{"show settings"});
    f.watch(true, false);
    auto_close_tick(w);
    EXPECT_EQ(f.take_log().back(), "close main");
}

TEST(AutoStartRule, GatesAutoClose) {
    WatchedWindow f({{"USE_QT_BAT_TICKBOX", "1"}});
    MainWindow& w = f.w;
    w.auto_start.click();
    EXPECT_TRUE(w.auto_close.enabled());
    EXPECT_EQ(w.auto_close.tick(), 0) << "enabled, not ticked";
    w.auto_close.click();
    w.auto_start.click();
    EXPECT_FALSE(w.auto_close.enabled());
    EXPECT_EQ(w.auto_close.tick(), 0);
}

}  // namespace
}  // namespace zvkob
