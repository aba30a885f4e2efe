#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "fakes.hpp"
#include "main_window/closing_events.hpp"
#include "main_window/load_unload.hpp"
#include "main_window/session_end_events.hpp"

namespace zvkob {
namespace {

using testing::CallLog;
using testing::MainWindowFixture;

const CallLog first_start_writes{"save MAIN-Left=1000",
                                 "save MAIN-Top=1000",
                                 "save USE_QT_BAT_TICKBOX=0",
                                 "save USE_DAEMON_BAT_TICKBOX=0",
                                 "save AlwaysOnTopTimer_TICKBOX=1",
                                 "save AUTOSTART_TICKBOX=0",
                                 "save AUTOCLOSE_TIMER_TICKBOX=0",
                                 "save BAT_QT_RUN_COMMAND_TEXTBOX=",
                                 "save BAT_DAEMON_RUN_COMMAND_TEXTBOX=",
                                 "save QT_NAME_TEXTBOX=",
                                 "save DAEMOND_NAME_TEXTBOX="};

TEST(MainWindowUnload, SavesElevenKeysInOrderAndNothingElse) {
    MainWindowFixture f;
    load_main_window(f.window);
    f.take_log();
    EXPECT_TRUE(unload_main_window(f.window).ok());
    EXPECT_EQ(testing::calls_starting(f.log, "save "), first_start_writes);
    EXPECT_EQ(testing::calls_starting(f.log, "save ").size(), f.log.size())
        << "the unload does nothing but save";
}

TEST(MainWindowUnload, SavesWhatTheUserChangedAndNotTheSize) {
    MainWindowFixture f;
    load_main_window(f.window);
    MainWindow& w = f.window;
    w.frame.set_position(-300, 4500.5F);
    w.frame.set_size(9000, 9000);
    w.always_on_top.click();
    w.daemon.chosen.set_tick(1);
    w.qt.image = "bitcoin-qt.exe";
    f.take_log();
    ASSERT_TRUE(unload_main_window(w).ok());
    EXPECT_EQ(f.store.values["MAIN-Left"], "-300");
    EXPECT_EQ(f.store.values["MAIN-Top"], "4500.5");
    EXPECT_EQ(f.store.values["AlwaysOnTopTimer_TICKBOX"], "0");
    EXPECT_EQ(f.store.values["USE_DAEMON_BAT_TICKBOX"], "1");
    EXPECT_EQ(f.store.values["QT_NAME_TEXTBOX"], "bitcoin-qt.exe");
    EXPECT_EQ(f.store.values.count("MAIN-Width"), 0U);
}

TEST(MainWindowUnload, AFailingWriteStopsNothingAndIsNamed) {
    MainWindowFixture f;
    load_main_window(f.window);
    f.store.failing_keys = {"MAIN-Top", "QT_NAME_TEXTBOX"};
    f.take_log();
    const Outcome outcome = unload_main_window(f.window);
    EXPECT_FALSE(outcome.ok());
    EXPECT_EQ(testing::calls_starting(f.log, "save ").size(), 11U)
        << "every key is still attempted";
    EXPECT_NE(outcome.reason().find("MAIN-Top, QT_NAME_TEXTBOX"), std::string::npos);
    EXPECT_NE(outcome.reason().find("Access is denied."), std::string::npos);
}

TEST(SessionEnd, SavesAsTheUnloadDoesAndStopsEveryTimer) {
    MainWindowFixture f;
    f.store.values = {{"USE_QT_BAT_TICKBOX", "1"}, {"AUTOSTART_TICKBOX", "1"}};
    load_main_window(f.window);
    MainWindow& w = f.window;
    w.auto_close_timer.set_enabled(true);

    session_end_requested(w);
    EXPECT_TRUE(w.guardian.sign_out.ending());
    session_end_decided(w, false);  // another program refused: the session goes on
    EXPECT_FALSE(w.guardian.sign_out.ending());

    f.take_log();
    session_end_decided(w, true);
    EXPECT_TRUE(w.guardian.sign_out.ending());
    EXPECT_EQ(f.history.flushes, 1) << "the history is written before Windows ends ZV-KOB";
    for (Timer* timer : w.timers()) {
        EXPECT_FALSE(timer->running()) << timer->name();
    }
    CallLog expected = first_start_writes;
    expected[2] = "save USE_QT_BAT_TICKBOX=1";
    expected[5] = "save AUTOSTART_TICKBOX=1";
    EXPECT_EQ(testing::calls_starting(f.log, "save "), expected);
}

// A close says what could not be saved; while Windows ends the session nobody
// would read it, so it is not shown.
TEST(Closing, SaysWhatCouldNotBeSavedUnlessTheSessionEnds) {
    for (const bool ending : {false, true}) {
        MainWindowFixture f;
        load_main_window(f.window);
        f.store.failing_keys = {"MAIN-Top"};
        if (ending) {
            f.window.guardian.sign_out.session_ending();
        }
        unload_for_close(f.window);
        EXPECT_EQ(f.notifier.messages.size(), ending ? 0U : 1U) << ending;
    }
}

}  // namespace
}  // namespace zvkob
