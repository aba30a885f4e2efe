#include "main_window/keep_node_running.hpp"

#include <gtest/gtest.h>

#include "main_window/auto_close.hpp"
#include "main_window/countdown.hpp"
#include "main_window/launcher.hpp"
#include "watched_window.hpp"

namespace zvkob {
namespace {

using testing::WatchedWindow;

constexpr std::int64_t minute = 60'000;
constexpr std::chrono::milliseconds second = std::chrono::seconds(1);
const std::string log_path = "D:\\Chain\\debug.log";

// A DAEMON node guarded by Keep Node Running, with its data folder set; the
// node was started by LAUNCH and runs.
struct Guarded : WatchedWindow {
    Guarded()
        : WatchedWindow({{"USE_DAEMON_BAT_TICKBOX", "1"},
                         {"KEEP_NODE_RUNNING", "1"},
                         {"BLOCKCHAIN_FOLDER_TEXTBOX", "D:\\Chain"}}) {
        watch(false, false);
        launch_click(w);
        watch(false, true);
    }

    // The node stops after `ran`, its log written (or not) as given.
    void node_stops(std::int64_t ran, std::string log_end = "2027 init message\n",
                    bool log_written_after_start = true) {
        clock.advance(ran);
        files.node_logs = {
            {log_path, log_written_after_start ? clock.now : clock.now - ran - minute}};
        files.log_end = {std::move(log_end), {}};
        watch(false, false);
    }

    // The countdown runs down to its zero step, which restarts the node.
    void countdown_restarts() {
        while (w.countdown_timer.enabled()) {
            countdown_tick(w);
        }
        watch(false, true);
    }

    bool restart_armed_in(int seconds) const {
        return w.countdown_timer.enabled() && w.countdown_for == StartRequest::keep_node_running &&
               w.countdown_remaining == seconds * second;
    }
};

TEST(KeepNodeRunning, ACleanStopIsLeftAloneAndACrashIsRestartedThroughTheCountdown) {
    Guarded f;
    f.node_stops(3 * minute, "x\n2027-01-01T00:00:00Z Shutdown: done\r\n");
    EXPECT_FALSE(f.w.countdown_timer.enabled()) << "the user or the node chose to stop";
    EXPECT_TRUE(
        f.history.holds("stopped after 3 min cleanly (D:\\Chain\\debug.log ends with "
                        "Shutdown: done); it is left stopped."));

    launch_click(f.w);
    f.watch(false, true);
    f.take_log();
    f.node_stops(minute, "2027-01-01 ERROR: Disk space is too low!\n");
    EXPECT_TRUE(f.restart_armed_in(11)) << "at once: the node was started by the user";
    EXPECT_TRUE(
        f.history.holds("stopped after 1 min unexpectedly (D:\\Chain\\debug.log does "
                        "not end with Shutdown: done). It is started again through the "
                        "countdown; STOP cancels."));
    f.countdown_restarts();
    EXPECT_TRUE(f.history.holds("Keep Node Running started the DAEMON program: " +
                                testing::daemon_command));
}

// Without a log written while it ran, the cause cannot be told: a crash.
TEST(KeepNodeRunning, AStopWhoseCauseCannotBeToldIsRestarted) {
    for (const auto& [log_end, written_after_start, why] :
         {std::tuple{std::string("x\nShutdown: done\n"), false, "was not written to while it ran"},
          std::tuple{std::string(""), true, "is empty"}}) {
        Guarded f;
        f.node_stops(minute, log_end, written_after_start);
        EXPECT_TRUE(f.restart_armed_in(11)) << why;
        EXPECT_TRUE(f.history.holds(why)) << why;
    }
    Guarded f;
    f.files.node_logs.clear();
    f.clock.advance(minute);
    f.watch(false, false);
    EXPECT_TRUE(f.history.holds("there is no debug.log in D:\\Chain"));
    EXPECT_TRUE(f.restart_armed_in(11));
}

TEST(KeepNodeRunning, StopsItDidNotCauseAreLeftAlone) {
    {
        Guarded f;
        f.w.daemon.node.life.on(NodeEvent::stop_asked, f.clock.now);
        f.node_stops(minute);
        EXPECT_FALSE(f.w.countdown_timer.enabled()) << "a stop ZV-KOB asked for";
    }
    {
        Guarded f;
        f.w.session_ending = true;
        f.node_stops(minute);
        EXPECT_FALSE(f.w.countdown_timer.enabled()) << "Windows ends the session";
    }
    {
        Guarded f;
        f.w.keep_node_running.set_ticked(false);
        f.node_stops(minute);
        EXPECT_FALSE(f.w.countdown_timer.enabled()) << "Keep Node Running is off";
    }
    Guarded f;
    start_stop_click(f.w);  // the user armed the countdown already
    f.node_stops(minute);
    EXPECT_NE(f.w.countdown_for, StartRequest::keep_node_running);
    EXPECT_TRUE(f.history.holds("the countdown is armed already and starts it"));
}

TEST(KeepNodeRunning, StopDuringTheRestartCountdownCancelsIt) {
    Guarded f;
    f.node_stops(minute);
    ASSERT_TRUE(f.restart_armed_in(11));
    countdown_tick(f.w);
    start_stop_click(f.w);
    EXPECT_FALSE(f.w.countdown_timer.enabled());
    EXPECT_TRUE(f.history.holds("the restart was cancelled with STOP"));
    EXPECT_NE(f.w.countdown_for, StartRequest::keep_node_running);
}

// A node that keeps stopping soon after a restart waits one, five, fifteen
// minutes; after five restarts within an hour ZV-KOB gives up and says why.
TEST(KeepNodeRunning, BacksOffAndGivesUpAfterFiveRestartsWithinAnHour) {
    Guarded f;
    const std::string last_lines = "line 1\nError: Corrupted block database detected\n";
    f.node_stops(10 * minute, last_lines);  // ran long after the user's start
    EXPECT_TRUE(f.restart_armed_in(11));
    for (const int waited : {60 + 11, 300 + 11, 900 + 11, 900 + 11}) {
        f.countdown_restarts();
        f.node_stops(minute, last_lines);
        EXPECT_TRUE(f.restart_armed_in(waited)) << waited;
    }
    EXPECT_EQ(countdown_text(f.w.countdown_remaining), "15:11") << "the wait is shown";
    f.countdown_restarts();
    f.take_log();
    f.notifier.messages.clear();
    f.node_stops(minute, last_lines);
    EXPECT_FALSE(f.w.countdown_timer.enabled()) << "five restarts within the hour";
    ASSERT_EQ(f.notifier.messages.size(), 1U);
    EXPECT_NE(f.notifier.messages[0].find("Error: Corrupted block database detected"),
              std::string::npos)
        << f.notifier.messages[0];
    EXPECT_TRUE(f.history.holds("gives up"));

    // LAUNCH by the user ends the back-off: the next crash restarts at once.
    launch_click(f.w);
    f.watch(false, true);
    f.node_stops(minute, last_lines);
    EXPECT_TRUE(f.restart_armed_in(11));
}

TEST(KeepNodeRunning, AutoCloseLeavesZvKobOpenAndSaysWhy) {
    Guarded f;
    f.w.auto_close.set_enabled(true);
    f.w.auto_close.set_tick(1);
    f.w.auto_close_timer.set_enabled(true);
    f.take_log();
    auto_close_tick(f.w);
    EXPECT_EQ(f.take_log(), (testing::CallLog{"probe bitcoin-qt.exe", "probe bitcoind.exe"}))
        << "nothing closes";
    EXPECT_NE(f.w.auto_close.tooltip().find("Keep Node Running is on"), std::string::npos);
    keep_node_running_clicked(f.w);
    EXPECT_FALSE(f.w.keep_node_running.ticked());
    auto_close_tick(f.w);
    EXPECT_EQ(f.take_log().back(), "close main") << "off, every rule of Auto Close is as before";
}

}  // namespace
}  // namespace zvkob
