#include "main_window/always_on_top.hpp"

#include <gtest/gtest.h>

#include "fakes.hpp"
#include "main_window/load_unload.hpp"

namespace zvkob {
namespace {

using testing::CallLog;
using testing::MainWindowFixture;

TEST(AlwaysOnTopTick, DoesNothingWhileTheMainWindowHasTheInput) {
    MainWindowFixture f;
    load_main_window(f.window);
    f.take_log();
    f.window.always_on_top_timer.tick();
    EXPECT_EQ(f.log, CallLog{"foreground"});
}

TEST(AlwaysOnTopTick, LiftsTheMainWindowAndLeavesAnotherProgramsWindowAlone) {
    MainWindowFixture f;
    load_main_window(f.window);
    f.windows.foreground = 555;
    f.take_log();
    f.window.always_on_top_timer.tick();
    EXPECT_EQ(f.log, (CallLog{"foreground", "topmost 100"}))
        << "a window pinned on top by its own user keeps its pin";
}

TEST(AlwaysOnTopTickbox, AClickSwitchesTheTimerAtOnceAndLeavesTheTopmostBand) {
    MainWindowFixture f;
    load_main_window(f.window);
    MainWindow& w = f.window;
    f.take_log();

    w.always_on_top.click();
    EXPECT_FALSE(w.always_on_top_timer.enabled());
    EXPECT_EQ(f.take_log(), CallLog{"not topmost 100"});

    w.always_on_top.click();
    EXPECT_TRUE(w.always_on_top_timer.running());
    EXPECT_EQ(f.take_log(), CallLog{}) << "the next tick puts the window back on top";
}

}  // namespace
}  // namespace zvkob
