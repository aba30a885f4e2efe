#include "main_window/launch_modes.hpp"

#include <gtest/gtest.h>

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
    return {w.USE_QT_BAT_TICKBOX.tick(),        w.USE_DAEMON_BAT_TICKBOX.tick(),
            w.AUTOSTART_TICKBOX.tick(),         w.AUTOCLOSE_TIMER_TICKBOX.tick(),
            w.USE_QT_BAT_TICKBOX.enabled(),     w.USE_DAEMON_BAT_TICKBOX.enabled(),
            w.LAUNCH_BUTTON.enabled(),          w.AUTOSTART_TICKBOX.enabled(),
            w.AUTOCLOSE_TIMER_TICKBOX.enabled()};
}

void PrintTo(const Seen& s, std::ostream* out) {
    *out << "ticks QT " << s.qt << " DAEMON " << s.daemon << " AutoStart " << s.autostart
         << " AutoClose " << s.autoclose << "; enabled QT " << s.qt_on << " DAEMON " << s.daemon_on
         << " LAUNCH " << s.launch_on << " AutoStart " << s.autostart_on << " AutoClose "
         << s.autoclose_on;
}

TEST(LaunchModes, TickingQtChoosesItAndUnlocksLaunchAndAutoStart) {
    WatchedWindow f;
    f.w.USE_QT_BAT_TICKBOX.click();
    EXPECT_EQ(seen(f.w), (Seen{1, 0, 0, 0, true, false, true, true, false}));
}

TEST(LaunchModes, ClearingTheChoiceClearsAutoStartAndThroughItsRuleLocksAutoClose) {
    WatchedWindow f({{"USE_DAEMON_BAT_TICKBOX", "1"}});
    f.w.AUTOSTART_TICKBOX.click();
    f.w.AUTOCLOSE_TIMER_TICKBOX.click();
    f.w.USE_DAEMON_BAT_TICKBOX.click();
    EXPECT_EQ(seen(f.w), (Seen{0, 0, 0, 0, true, true, false, false, false}));
}

TEST(LaunchModes, ClearingTheChoiceWithAutoStartClearLeavesAutoCloseEnabledAsItWas) {
    WatchedWindow f({{"USE_QT_BAT_TICKBOX", "1"}});
    f.w.AUTOCLOSE_TIMER_TICKBOX.set_enabled(true);  // as STOP leaves it
    f.w.AUTOCLOSE_TIMER_TICKBOX.set_tick(1);
    f.w.USE_QT_BAT_TICKBOX.click();
    EXPECT_EQ(seen(f.w), (Seen{0, 0, 0, 0, true, true, false, false, true}));
}

TEST(LaunchModes, TickingDaemonWhileQtIsTickedNestsTheQtRule) {
    // After STOP both BAT tickboxes are enabled while "QT" is ticked.
    WatchedWindow f({{"USE_QT_BAT_TICKBOX", "1"},
                     {"AUTOSTART_TICKBOX", "1"},
                     {"AUTOCLOSE_TIMER_TICKBOX", "1"}});
    MainWindow& w = f.w;
    w.START_STOP_BUTTON.click();
    ASSERT_EQ(w.START_STOP_BUTTON.text(), "START");
    w.USE_DAEMON_BAT_TICKBOX.click();
    EXPECT_EQ(seen(w), (Seen{0, 1, 0, 0, false, true, true, true, false}));
}

TEST(LaunchModes, StoredBothTickedComesUpWithDaemonAlone) {
    WatchedWindow f({{"USE_QT_BAT_TICKBOX", "1"}, {"USE_DAEMON_BAT_TICKBOX", "1"}});
    EXPECT_EQ(seen(f.w), (Seen{0, 1, 0, 0, true, true, true, true, false}));
}

TEST(LaunchModes, TheInertTickboxesChangeOnlyTheirOwnTick) {
    WatchedWindow f({{"USE_QT_BAT_TICKBOX", "1"}});
    MainWindow& w = f.w;
    const Seen before = seen(w);
    for (Tickbox* inert : {&w.RUN_BAT_TICKBOX, &w.RUN_EXE_TICKBOX, &w.USE_QT_EXE_TICKBOX,
                           &w.USE_DAEMON_EXE_TICKBOX, &w.KOB_BAT_FIX_TICKBOX}) {
        inert->click();
        EXPECT_EQ(inert->tick(), 1) << inert->name();
    }
    EXPECT_EQ(seen(w), before);
    EXPECT_EQ(f.take_log(), CallLog{});
}

}  // namespace
}  // namespace zvkob
