#include "main_window/auto_close.hpp"

#include <gtest/gtest.h>

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
