#include "main_window/starting/launch_modes.hpp"

#include <gtest/gtest.h>

#include "main_window/main_window_layout.hpp"
#include "watched_window.hpp"

namespace zvkob {
namespace {

using testing::CallLog;
using testing::WatchedWindow;

// The enabled states and ticks the rules touch, in one line for comparing.
struct Seen {
    int qt, daemon, autostart, autoclose;
    bool qt_on, daemon_on, launch_on, autostart_on, autoclose_on;
    bool operator==(const Seen&) const = default;
};

Seen seen(const MainWindow& w) {
    return {w.qt.chosen.tick(),        w.daemon.chosen.tick(), w.auto_start.tick(),
            w.auto_close.tick(),       w.qt.chosen.enabled(),  w.daemon.chosen.enabled(),
            w.launch_button.enabled(), w.auto_start.enabled(), w.auto_close.enabled()};
}

void PrintTo(const Seen& s, std::ostream* out) {
    *out << "ticks QT " << s.qt << " DAEMON " << s.daemon << " AutoStart " << s.autostart
         << " AutoClose " << s.autoclose << "; enabled QT " << s.qt_on << " DAEMON " << s.daemon_on
         << " LAUNCH " << s.launch_on << " AutoStart " << s.autostart_on << " AutoClose "
         << s.autoclose_on;
}

TEST(LaunchModes, TickingQtChoosesItAndUnlocksLaunchAndAutoStart) {
    WatchedWindow f;
    f.w.qt.chosen.click();
    EXPECT_EQ(seen(f.w), (Seen{1, 0, 0, 0, true, false, true, true, false}));
}

TEST(LaunchModes, ClearingTheChoiceClearsAutoStartAndThroughItsRuleLocksAutoClose) {
    WatchedWindow f({{"USE_DAEMON_BAT_TICKBOX", "1"}});
    f.w.auto_start.click();
    f.w.auto_close.click();
    f.w.daemon.chosen.click();
    EXPECT_EQ(seen(f.w), (Seen{0, 0, 0, 0, true, true, false, false, false}));
}

TEST(LaunchModes, ClearingTheChoiceWithAutoStartClearLeavesAutoCloseEnabledAsItWas) {
    WatchedWindow f({{"USE_QT_BAT_TICKBOX", "1"}});
    f.w.auto_close.set_enabled(true);  // as STOP leaves it
    f.w.auto_close.set_tick(1);
    f.w.qt.chosen.click();
    EXPECT_EQ(seen(f.w), (Seen{0, 0, 0, 0, true, true, false, false, true}));
}

TEST(LaunchModes, TickingDaemonWhileQtIsTickedNestsTheQtRule) {
    // After STOP both BAT tickboxes are enabled while "QT" is ticked.
    WatchedWindow f({{"USE_QT_BAT_TICKBOX", "1"},
                     {"AUTOSTART_TICKBOX", "1"},
                     {"AUTOCLOSE_TIMER_TICKBOX", "1"}});
    MainWindow& w = f.w;
    w.start_stop_button.click();
    ASSERT_EQ(w.start_stop_button.text(), "START");
    w.daemon.chosen.click();
    EXPECT_EQ(seen(w), (Seen{0, 1, 0, 0, false, true, true, true, false}));
    w.daemon.chosen.click();
    EXPECT_TRUE(w.qt.chosen.enabled()) << "cleared, QT may be chosen again";
}

TEST(LaunchModes, StoredBothTickedComesUpWithDaemonAlone) {
    WatchedWindow f({{"USE_QT_BAT_TICKBOX", "1"}, {"USE_DAEMON_BAT_TICKBOX", "1"}});
    EXPECT_EQ(seen(f.w), (Seen{0, 1, 0, 0, true, true, true, true, false}));
}

TEST(LaunchModes, TheInertTickboxesChangeOnlyTheirOwnTick) {
    WatchedWindow f({{"USE_QT_BAT_TICKBOX", "1"}});
    MainWindow& w = f.w;
    const Seen before = seen(w);
    for (const ControlSpec* design :
         {&main_layout::inert_run_bat, &main_layout::inert_run_exe, &main_layout::inert_qt_exe,
          &main_layout::inert_daemon_exe, &main_layout::inert_automation_fix}) {
        Tickbox& inert = w.controls.tickbox_of(*design);
        inert.click();
        EXPECT_EQ(inert.tick(), 1) << inert.name();
    }
    EXPECT_EQ(seen(w), before);
    EXPECT_EQ(f.take_log(), CallLog{});
}

}  // namespace
}  // namespace zvkob
