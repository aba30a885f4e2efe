#include "guardian/keep_node_running.hpp"

#include <gtest/gtest.h>

#include "main_window/starting/auto_close.hpp"
#include "main_window/starting/countdown_events.hpp"
#include "main_window/event_order.hpp"
#include "main_window/starting/launcher.hpp"
#include "watched_window.hpp"

namespace zvkob {
namespace {

using testing::WatchedWindow;

constexpr std::int64_t minute = 60'000;
constexpr std::chrono::milliseconds second = std::chrono::seconds(1);
const std::string log_path = "D:\\Chain\\debug.log";

// A DAEMON node guarded by Keep Node Running, started by LAUNCH.
struct Guarded : testing::LaunchedDaemon {
    Guarded() : LaunchedDaemon({"KEEP_NODE_RUNNING"}) {}

    // The node stops after `ran` with `exit_code`, its log ending so; the
    // calls of that tick. The clock is in mid-January 2027: lines of this
    // run are dated February.
    testing::CallLog node_stops(std::int64_t ran, std::string log_text = "x\n2027 init message\n",
                                unsigned long exit_code = 0) {
        clock.advance(ran);
        files.log_end = {std::move(log_text), true, {}};
        node_exit_code = exit_code;
        set_running(false, false);
        process_watcher_tick(w);
        return take_log();
    }

    // The countdown runs down to its zero step, which restarts the node.
    void countdown_restarts() {
        while (w.countdown_timer.enabled()) {
            countdown_tick(w);
        }
        watch(false, true);
    }

    bool restart_armed_in(int seconds) const {
        return w.countdown_timer.enabled() &&
               w.countdown.for_whom() == StartRequest::keep_node_running &&
               w.countdown.remaining() == seconds * second;
    }
};

TEST(KeepNodeRunning, ACleanStopIsLeftAloneAndACrashIsRestartedThroughTheCountdown) {
    Guarded f;
    f.node_stops(3 * minute, "x\n2027-02-01T00:00:00Z Shutdown: done\r\n");
    EXPECT_FALSE(f.w.countdown_timer.enabled()) << "the user or the node chose to stop";
    EXPECT_TRUE(
        f.history.holds("stopped after 3 min cleanly (D:\\Chain\\debug.log ends with "
                        "Shutdown: done); it is left stopped."));
    EXPECT_EQ(f.files.paths_read.front(), log_path) << "the data folder of the settings";

    launch_click(f.w);
    f.watch(false, true);
    f.take_log();
    EXPECT_EQ(
        testing::calls_starting(
            f.node_stops(minute, "x\n2027-02-01T00:00:00Z UpdateTip: new best=00 height=5\n", 1),
            "flash"),
        testing::CallLog{"flash"});
    EXPECT_TRUE(f.restart_armed_in(11)) << "at once: the node was started by the user";
    EXPECT_TRUE(f.history.holds("It is started again through the countdown; STOP cancels."));
    EXPECT_TRUE(
        f.history.holds("stopped after 1 min unexpectedly (D:\\Chain\\debug.log has no "
                        "shutdown line after the node's last start"));
    f.countdown_restarts();
    EXPECT_TRUE(f.history.holds("Keep Node Running started the DAEMON program: " +
                                testing::daemon_command));
}

// Started again, a node stopped by a fatal error meets it again: it is left
// stopped, and the user is told the error and what usually helps.
// The tick that finds the crash changes the display, the tooltips and the
// countdown several times over; the window shows them once, at its end.
TEST(KeepNodeRunning, TheTickThatFindsACrashShowsTheWindowOnce) {
    Guarded f;
    const int looks = f.taskbar.looks;
    f.node_stops(minute);
    EXPECT_TRUE(f.w.countdown_timer.enabled()) << "the restart is armed";
    EXPECT_EQ(f.taskbar.looks - looks, 1);
}

TEST(KeepNodeRunning, AStopAfterAnErrorIsLeftStoppedAndExplained) {
    Guarded f;
    const testing::CallLog calls =
        f.node_stops(minute,
                     "2027-02-01T00:00:00Z [error] Shutting down due to lack of disk space!\n"
                     "2027-02-01T00:00:01Z Shutdown in progress...\n"
                     "2027-02-01T00:00:02Z Shutdown done\n",
                     1);
    EXPECT_FALSE(f.w.countdown_timer.enabled());
    EXPECT_EQ(f.w.daemon.node.life.cause(), StopCause::after_error);
    EXPECT_EQ(testing::calls_starting(calls, "f"), testing::CallLog{"flash"});
    ASSERT_EQ(f.notifier.messages.size(), 1U);
    EXPECT_NE(f.notifier.messages[0].find("[error] Shutting down due to lack of disk space!"),
              std::string::npos);
    EXPECT_NE(f.notifier.messages[0].find("Free space on the drive"), std::string::npos);
    EXPECT_TRUE(f.history.holds("after an error ("));
}

// Without a log of this run to read, the exit code decides: 0 is left
// stopped, anything else is a crash.
TEST(KeepNodeRunning, AStopWithoutALogFollowsItsExitCode) {
    const std::string older_run = "\n\n2020-01-01T00:00:00Z Node version v1.0.0\nShutdown: done\n";
    for (const auto& [log_text, exit_code, restarted, why] :
         {std::tuple{older_run, 1UL, true, "has nothing written since the node started"},
          std::tuple{older_run, 0UL, false, "has nothing written since the node started"},
          std::tuple{std::string(), 3UL, true, "is empty"}}) {
        Guarded f;
        f.node_stops(minute, log_text, exit_code);
        EXPECT_EQ(f.restart_armed_in(11), restarted) << why << " " << exit_code;
        EXPECT_TRUE(f.history.holds(why)) << why;
    }
    {
        Guarded f;  // it failed before opening its log, which ends with a run of over 1 MiB
        f.clock.advance(minute);
        const std::string tip = "2027-01-10T00:00:00Z UpdateTip: new best=00 height=5\n";
        f.files.log_end = {tip + tip, false, {}};
        f.watch(false, false);
        EXPECT_FALSE(f.restart_armed_in(11));
        EXPECT_TRUE(f.history.holds("has nothing written since the node started"));
    }
    Guarded f;
    f.files.log_end = {{}, false, "The system cannot find the file specified."};
    f.node_exit_code = 0;
    f.clock.advance(minute);
    f.watch(false, false);
    EXPECT_TRUE(f.history.holds("D:\\Chain\\debug.log cannot be read"));
    EXPECT_TRUE(f.history.holds("with exit code 0 it is left stopped"));
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
        f.w.guardian.sign_out.session_ending();
        f.node_stops(minute);
        EXPECT_FALSE(f.w.countdown_timer.enabled()) << "Windows ends the session";
    }
    {
        Guarded f;
        f.w.keep_node_running.set_ticked(false);
        f.node_stops(minute);
        EXPECT_FALSE(f.w.countdown_timer.enabled()) << "Keep Node Running is off";
    }
    {
        // Asked to stop in its own window, then ended in Task Manager as it took long.
        Guarded f;
        f.node_stops(minute, "x\n2027-02-01T00:00:00Z Shutdown: In progress...\n", 1);
        EXPECT_FALSE(f.w.countdown_timer.enabled()) << "someone chose to stop it";
        EXPECT_EQ(f.w.daemon.node.life.cause(), StopCause::cut_short);
        EXPECT_TRUE(
            f.history.holds("while stopping (D:\\Chain\\debug.log shows Shutdown: In "
                            "progress... but no done line"));
        ASSERT_EQ(f.notifier.messages.size(), 1U);
        EXPECT_NE(f.notifier.messages[0].find("At its next start the node checks its database"),
                  std::string::npos);
    }
    Guarded f;
    start_stop_click(f.w);  // the user armed the countdown already
    f.node_stops(minute);
    EXPECT_NE(f.w.countdown.for_whom(), StartRequest::keep_node_running);
    EXPECT_TRUE(f.history.holds("the countdown is armed already and starts it"));
}

// A clean stop, or one cut short, is someone's choice: a countdown armed by
// START meanwhile (it overruns while the node runs) is ended with it; with
// none armed, the window is left as it was.
TEST(KeepNodeRunning, AChosenStopEndsACountdownThatWouldStartTheNodeAgain) {
    for (const auto& [log_text, exit_code] :
         {std::pair{"x\n2027-02-01T00:00:00Z Shutdown: done\n", 0UL},
          std::pair{"x\n2027-02-01T00:00:00Z Shutdown: In progress...\n", 1UL}}) {
        for (const bool armed : {true, false}) {
            Guarded f;
            if (armed) {
                start_stop_click(f.w);
            }
            const std::string button = f.w.start_stop_button.text();
            f.node_stops(minute, log_text, exit_code);
            EXPECT_FALSE(f.w.countdown_timer.enabled()) << log_text;
            EXPECT_EQ(f.history.holds("the countdown is ended"), armed) << log_text;
            EXPECT_EQ(f.w.start_stop_button.text(), armed ? "START" : button) << log_text;
            EXPECT_EQ(f.w.auto_close.enabled(), armed) << "unlocked by the end of a countdown only";
        }
    }
}

// Switched off, Keep Node Running takes back a restart it armed, and only that.
TEST(KeepNodeRunning, SwitchedOffItCancelsItsOwnRestartOnly) {
    for (const bool own : {true, false}) {
        Guarded f;
        if (own) {
            f.node_stops(minute);
        } else {
            start_stop_click(f.w);  // the user's countdown, overrunning while the node runs
        }
        keep_node_running_clicked(f.w);
        EXPECT_EQ(f.w.countdown_timer.enabled(), !own) << own;
        EXPECT_EQ(f.history.holds("the restart it had armed is cancelled"), own) << own;
    }
}

// A hand-edited batch file prepares the console before it calls the node; the
// node's own command line, where Windows shows it, says where it really went.
TEST(KeepNodeRunning, FindsTheLogByTheNodesOwnCommandLineElseByItsBatchLine) {
    Guarded f;
    const std::string clean_stop = "x\n2027-02-01T00:00:00Z Shutdown: done\n";
    f.node_stops(minute, clean_stop);
    f.files.text_files[testing::daemon_command] =
        "@echo off\r\ncd /d C:\\Node\r\nset X=1\r\ncall \"C:\\Node\\bitcoind.exe\" "
        "-datadir=E:\\Batch\r\n";
    for (const auto& [command_line, log] :
         {std::pair{std::optional<std::string>(), "E:\\Batch\\debug.log"},
          std::pair{std::optional<std::string>(R"("C:\Node\bitcoind.exe" -datadir=F:\Own)"),
                    "F:\\Own\\debug.log"}}) {
        f.node_command_line = command_line;
        launch_click(f.w);
        f.watch(false, true);
        f.node_stops(minute, clean_stop);
        EXPECT_EQ(f.files.paths_read.back(), log);
    }
}

TEST(KeepNodeRunning, StopDuringTheRestartCountdownCancelsIt) {
    Guarded f;
    f.node_stops(minute);
    ASSERT_TRUE(f.restart_armed_in(11));
    countdown_tick(f.w);
    start_stop_click(f.w);
    EXPECT_FALSE(f.w.countdown_timer.enabled());
    EXPECT_TRUE(f.history.holds("the restart was cancelled with STOP"));
    EXPECT_NE(f.w.countdown.for_whom(), StartRequest::keep_node_running);
}

// A node that keeps stopping soon after a restart waits one, five, fifteen
// minutes; after five restarts within an hour ZV-KOB gives up and says why.
TEST(KeepNodeRunning, BacksOffAndGivesUpAfterFiveRestartsWithinAnHour) {
    Guarded f;
    const std::string last_lines = "line 1\n2027-02-01T00:00:00Z UpdateTip: new best=00 height=5\n";
    f.node_stops(10 * minute, last_lines);  // ran long after the user's start
    EXPECT_TRUE(f.restart_armed_in(11));
    for (const int waited : {60 + 11, 300 + 11, 900 + 11, 900 + 11}) {
        f.countdown_restarts();
        f.node_stops(minute, last_lines);
        EXPECT_TRUE(f.restart_armed_in(waited)) << waited;
    }
    EXPECT_EQ(countdown_text(f.w.countdown.remaining()), "15:11") << "the wait is shown";
    f.countdown_restarts();
    f.notifier.messages.clear();
    EXPECT_EQ(testing::calls_starting(f.node_stops(minute, last_lines), "flash"),
              testing::CallLog{"flash"});
    EXPECT_FALSE(f.w.countdown_timer.enabled()) << "five restarts within the hour";
    ASSERT_EQ(f.notifier.messages.size(), 1U);
    EXPECT_NE(f.notifier.messages[0].find("UpdateTip: new best=00 height=5"), std::string::npos)
        << f.notifier.messages[0];
    EXPECT_TRUE(f.history.holds("gives up"));

    // LAUNCH by the user ends the back-off: the next crash restarts at once.
    launch_click(f.w);
    f.watch(false, true);
    f.node_stops(minute, last_lines);
    EXPECT_TRUE(f.restart_armed_in(11));
}

// A restart after a run of five minutes or more waits no longer than the
// first; shorter runs wait one, then five minutes.
TEST(KeepNodeRunning, ARunOfFiveMinutesEndsTheBackOff) {
    Guarded f;
    f.node_stops(10 * minute);
    for (const auto& [ran, waited] : {std::pair{5 * minute - 1, 60 + 11}, std::pair{5 * minute, 11},
                                      std::pair{minute, 60 + 11}, std::pair{minute, 300 + 11}}) {
        f.countdown_restarts();
        f.node_stops(ran);
        EXPECT_TRUE(f.restart_armed_in(waited)) << ran << " ms";
    }
    EXPECT_TRUE(
        f.history.holds("It is started again after a wait of 5 min, as it ran less than five "
                        "minutes after its last restart; STOP cancels."));
}

// Five restarts give up only while the first of them is an hour old or less.
TEST(KeepNodeRunning, ARestartMoreThanAnHourAgoNoLongerCounts) {
    for (const auto& [last_run, gives_up] :
         {std::pair{12 * minute, true}, std::pair{12 * minute + 1, false}}) {
        Guarded f;
        f.node_stops(10 * minute);
        for (int restart = 1; restart <= 4; ++restart) {  // a restart every twelve minutes
            f.countdown_restarts();
            f.node_stops(12 * minute);
        }
        f.countdown_restarts();
        f.node_stops(last_run);  // the first restart was an hour ago, or a moment more
        EXPECT_EQ(f.w.countdown_timer.enabled(), !gives_up) << last_run;
        EXPECT_EQ(f.history.holds("gives up"), gives_up) << last_run;
    }
}

// Whether a crash is started again is asked once its log has been read: a
// session that began to end meanwhile holds the restart back; a query that
// fails does not, as the countdown waits for the watcher anyway.
TEST(KeepNodeRunning, ASessionEndingWhileTheLogIsReadHoldsTheRestartBack) {
    for (const bool session_ends : {true, false}) {
        Guarded f;
        f.background.holding = true;
        f.node_stops(minute);
        if (session_ends) {
            f.w.guardian.sign_out.session_ending();
        } else {
            f.probe.failures[testing::qt_image] = "The query failed.";
            f.watch(false, false);
        }
        f.background.release_all();
        EXPECT_EQ(f.restart_armed_in(11), !session_ends) << session_ends;
        EXPECT_EQ(f.history.holds("it is not started again: Windows is ending the session"),
                  session_ends);
    }
}

TEST(KeepNodeRunning, WithTheIconARestartIsToldQuietlyOnceAnHour) {
    Guarded f;
    f.w.show_in_notification_area.click();
    const std::string crash = "x\n2027-02-01T00:00:00Z UpdateTip: new best=00 height=5\n";
    for (int crashes = 0; crashes < 2; ++crashes) {
        f.node_stops(10 * minute, crash);
        f.countdown_restarts();
    }
    const auto& calls = f.tray_area.calls;
    EXPECT_EQ(std::ranges::count(calls, "notify ZV-KOB: the node stopped unexpectedly"), 1);
    EXPECT_TRUE(f.tray_area.last_notice.ends_with("bitcoind.exe) again."))
        << f.tray_area.last_notice;
}

// LAUNCH or START by the user ends a back-off, and says so when there was one.
TEST(KeepNodeRunning, TheUsersStartEndsTheBackOffAndSaysSoOnlyThen) {
    Guarded f;
    start_stop_click(f.w);
    EXPECT_FALSE(f.history.holds("any wait before a restart ends")) << "there was none";
    start_stop_click(f.w);
    f.node_stops(minute);
    f.countdown_restarts();
    f.node_stops(minute);
    ASSERT_TRUE(f.restart_armed_in(60 + 11));
    start_stop_click(f.w);  // STOP
    start_stop_click(f.w);  // START
    EXPECT_TRUE(f.history.holds("the user started the node; any wait before a restart ends."));
    EXPECT_EQ(f.w.countdown.remaining(), 11 * second);
}

// A LAUNCH refused as Windows ends the session starts nothing, so it ends no
// wait before a restart either.
TEST(KeepNodeRunning, ALaunchRefusedEndsNoBackOff) {
    Guarded f;
    f.node_stops(minute);
    f.w.guardian.sign_out.session_ending();
    launch_click(f.w);
    EXPECT_EQ(f.notifier.messages.size(), 1U);
    EXPECT_FALSE(f.history.holds("any wait before a restart ends"));
}

// A verdict belongs to the stop it was read for. The node crashes; the
// reading of its log waits (a slow drive) and its answer waits behind a
// message box; meanwhile the node is started again by hand and stops cleanly.
// The crash's reading, of the run before, must not judge that clean stop:
// the node is left stopped, judged by its own log.
TEST(KeepNodeRunning, AVerdictIsTakenOnlyForTheStopItWasReadFor) {
    Guarded f;
    f.background.held_lanes = {Lane::disk};
    f.node_stops(minute, "x\n2027-02-01T00:00:00Z UpdateTip: new best=00 height=5\n", 1);
    f.events.run([&] {  // a handler waits on a message box
        f.background.held_lanes.clear();
        while (f.background.release(Lane::disk)) {  // read now; its answer waits for the box
        }
        f.nodes.start(5100, testing::daemon_image, 1, R"(bitcoind.exe -datadir=D:\Chain)",
                      f.clock.now);
        f.probe.running = {testing::daemon_image};
        process_watcher_tick(f.w);
        ASSERT_EQ(f.w.daemon.node.id(), 5100U) << "started by hand and adopted";
        f.node_stops(10'000,
                     "\n\n2027-02-01T00:00:00Z Bitcoin Core version v30.0.0\n"
                     "2027-02-01T00:00:09Z Shutdown done\n");
    });
    EXPECT_EQ(f.w.daemon.node.life.cause(), StopCause::clean);
    EXPECT_FALSE(f.history.holds("unexpectedly"));
    EXPECT_TRUE(f.history.holds("cleanly ("));
    EXPECT_FALSE(f.w.countdown_timer.enabled());
}

// A restart by the countdown with Auto Close ticked leaves ZV-KOB open, and
// says why; without Auto Close there is nothing to say.
TEST(KeepNodeRunning, AfterARestartItSaysWhyAutoCloseLeavesZvKobOpen) {
    for (const bool auto_close : {true, false}) {
        Guarded f;
        f.w.auto_close.set_tick(auto_close ? 1 : 0);
        f.node_stops(minute);
        f.countdown_restarts();
        EXPECT_EQ(f.history.holds("Auto Close leaves ZV-KOB open"), auto_close) << auto_close;
        // The restart is the guardian's own start: Auto Close leaves it alone,
        // also once Keep Node Running is switched off.
        keep_node_running_clicked(f.w);
        f.take_log();
        for (int tick = 0; tick < 3 && f.w.auto_close_timer.running(); ++tick) {
            f.w.auto_close_timer.tick();
        }
        EXPECT_EQ(testing::calls_starting(f.take_log(), "close"), testing::CallLog{});
    }
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

// Keep Node Running on its own, with no window: its switch is on, and the
// test holds the countdown and says whether its timer runs.
struct Keeper {
    testing::FakeHistory history;
    testing::FakeClock clock;
    CountdownRun countdown;
    bool countdown_running = false;
    KeepNodeRunning keeper{
        {[] { return true; }, [this] { return countdown_running; }}, countdown, history, clock};

    KeepRunningRequest stops(HowItStopped how) {
        NodeStop stop;
        stop.how = how;
        stop.why = "its log says so";
        return keeper.decide({"the DAEMON program", minute, false}, stop,
                             [] { return std::optional<std::string>(); });
    }
};

// What it asks of the window for each way the node stopped, with the
// countdown at rest or running.
TEST(KeepNodeRunningAlone, AsksTheWindowForWhatEachStopNeeds) {
    struct Case {
        HowItStopped how;
        bool countdown_running, flash, end_countdown, restart, message;
    };
    const Case cases[] = {
        {HowItStopped::clean, false, false, false, false, false},
        {HowItStopped::clean, true, false, true, false, false},
        {HowItStopped::cut_short, false, false, false, false, true},
        {HowItStopped::cut_short, true, false, true, false, true},
        {HowItStopped::after_error, true, true, false, false, true},
        {HowItStopped::no_log, true, false, false, false, false},
        {HowItStopped::crash, false, true, false, true, false},
        {HowItStopped::crash, true, false, false, false, false},  // the countdown starts it already
    };
    for (const Case& c : cases) {
        Keeper k;
        k.countdown_running = c.countdown_running;
        const KeepRunningRequest asked = k.stops(c.how);
        const std::string which =
            std::to_string(static_cast<int>(c.how)) + (c.countdown_running ? " counting" : "");
        EXPECT_EQ(asked.flash, c.flash) << which;
        EXPECT_EQ(asked.end_countdown, c.end_countdown) << which;
        EXPECT_EQ(asked.restart_after == std::chrono::milliseconds(0), c.restart) << which;
        EXPECT_EQ(!asked.message.empty(), c.message) << which;
    }
}

// Where it meets the countdown: switched off, it cancels a restart only when
// the countdown runs armed for it; a countdown it cancels is handed back.
TEST(KeepNodeRunningAlone, SwitchedOffItCancelsOnlyARunningCountdownArmedForIt) {
    struct Case {
        StartRequest armed_for;
        bool running, cancels;
    };
    for (const Case& c : {Case{StartRequest::keep_node_running, true, true},
                          Case{StartRequest::keep_node_running, false, false},
                          Case{StartRequest::countdown, true, false}}) {
        Keeper k;
        k.countdown.arm(c.armed_for, std::chrono::milliseconds(0));
        k.countdown_running = c.running;
        EXPECT_EQ(k.keeper.switched(false), c.cancels) << c.running;
        EXPECT_EQ(k.countdown.for_whom(), c.cancels ? StartRequest::countdown : c.armed_for);
        EXPECT_EQ(
            k.history.events.back() == "Keep Node Running: the restart it had armed is cancelled.",
            c.cancels);
    }
}

}  // namespace
}  // namespace zvkob
