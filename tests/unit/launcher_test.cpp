#include "main_window/starting/launcher.hpp"

#include <gtest/gtest.h>

#include "core/processes/interpreter_line.hpp"
#include "main_window/starting/countdown_events.hpp"
#include "main_window/event_order.hpp"
#include "guardian/flows/neighbour_events.hpp"
#include "guardian/flows/starting/failed_start.hpp"
#include "watched_window.hpp"
#include "main_window/window_menu.hpp"

namespace zvkob {
namespace {

using testing::CallLog;
using testing::WatchedWindow;

// A batch file runs as cmd /d /s /c ""path"": the interpreter strips the
// outer pair, and the path keeps its quotes whatever it holds.
TEST(InterpreterLine, KeepsTheBatchFilePathWhole) {
    const std::string cmd = "C:\\Windows\\system32\\cmd.exe";
    for (const auto& [path, line] : {
             std::pair{
                 R"(D:\Nodes (BTC)\ZV-KOB\ZVKOB-QT.BAT)",
                 R"(C:\Windows\system32\cmd.exe /d /s /c ""D:\Nodes (BTC)\ZV-KOB\ZVKOB-QT.BAT"")"},
             std::pair{
                 R"(C:\Program Files\ZV-KOB\ZVKOB-D.BAT)",
                 R"(C:\Windows\system32\cmd.exe /d /s /c ""C:\Program Files\ZV-KOB\ZVKOB-D.BAT"")"},
             std::pair{R"(C:\A & B, C; D=E\ZVKOB-QT.BAT)",
                       R"(C:\Windows\system32\cmd.exe /d /s /c ""C:\A & B, C; D=E\ZVKOB-QT.BAT"")"},
             std::pair{R"(C:\node.\ZVKOB-QT.BAT.)",
                       R"(C:\Windows\system32\cmd.exe /d /s /c ""C:\node.\ZVKOB-QT.BAT."")"},
             std::pair{R"(\\nas\n (1)\x.bat)",
                       R"(C:\Windows\system32\cmd.exe /d /s /c ""\\nas\n (1)\x.bat"")"},
         }) {
        EXPECT_TRUE(is_full_path(path)) << path;
        EXPECT_EQ(interpreter_command_line(cmd, path), line);
    }
    EXPECT_EQ(interpreter_command_line("C:\\Win dows\\cmd.exe", "C:\\x.bat"),
              "\"C:\\Win dows\\cmd.exe\" /d /s /c \"\"C:\\x.bat\"\"");
    for (const char* not_a_file : {"ZVKOB-QT.BAT", "BAT_QT_RUN_COMMAND_TEXTBOX", "\\ZVKOB-QT.BAT",
                                   "C:ZVKOB-QT.BAT", "call \"C:\\x.exe\" -conf=y", ""}) {
        EXPECT_FALSE(is_full_path(not_a_file)) << not_a_file << " is started exactly as today";
    }
}

TEST(Launch, AsksThatAtLeastOneProgramIsShownStopped) {
    struct Case {
        bool probed;
        bool qt_runs;
        bool daemon_runs;
        bool launches;
    };
    for (const Case c : {Case{false, false, false, false}, Case{true, true, true, false},
                         Case{true, true, false, true}, Case{true, false, false, true}}) {
        WatchedWindow f({{"USE_QT_BAT_TICKBOX", "1"}});
        if (c.probed) {
            f.watch(c.qt_runs, c.daemon_runs);
        }
        launch_click(f.w);
        EXPECT_EQ(!f.take_log().empty(), c.launches)
            << "probed " << c.probed << ", QT runs " << c.qt_runs << ", DAEMON runs "
            << c.daemon_runs;
    }
}

TEST(Launch, StartsTheChosenCommandHiddenWithTheIndicatorOnScreenDuringThePause) {
    WatchedWindow f({{"USE_DAEMON_BAT_TICKBOX", "1"}});
    f.watch(false, false);
    launch_click(f.w);
    EXPECT_EQ(f.take_log(), (CallLog{"indicator cyan", "run C:\\TARLOWEN\\ZV-KOB\\ZVKOB-D.BAT",
                                     "pause 3000", "indicator pink"}));
}

TEST(Launch, InterruptsARunningCountdownWithoutArmingAutoClose) {
    WatchedWindow f({{"USE_QT_BAT_TICKBOX", "1"}});
    MainWindow& w = f.w;
    f.watch(false, true);
    start_stop_click(w);
    countdown_tick(w);
    countdown_tick(w);
    launch_click(w);
    EXPECT_EQ(f.take_log(), (CallLog{"indicator cyan", "run C:\\TARLOWEN\\ZV-KOB\\ZVKOB-QT.BAT",
                                     "pause 3000", "indicator pink"}));
    EXPECT_FALSE(w.countdown_timer.enabled());
    EXPECT_FALSE(w.auto_close_timer.enabled());
    EXPECT_EQ(w.countdown_display.text(), "09") << "the display keeps the last seconds";
    EXPECT_EQ(w.start_stop_button.text(), "STOP");
    EXPECT_FALSE(w.settings_button.enabled());
}

TEST(Launch, ACommandThatCannotStartIsReportedAndTheWindowStaysUsable) {
    WatchedWindow f({{"USE_QT_BAT_TICKBOX", "1"}, {"BAT_QT_RUN_COMMAND_TEXTBOX", ""}});
    MainWindow& w = f.w;
    f.watch(false, false);
    f.runner.failure = "There is no command to run.";
    launch_click(w);
    EXPECT_EQ(f.take_log(), (CallLog{"indicator cyan", "run ", "indicator pink", "message"}))
        << "back at rest before the message, and no frozen pause";
    ASSERT_EQ(f.notifier.messages.size(), 1U);
    EXPECT_EQ(f.notifier.messages[0],
              "ZV-KOB could not start the QT program.\n\nCommand: (none is set)\n"
              "Reason: There is no command to run.\n\n"
              "Check the settings and the .BAT files, then try again.");

    // Once the settings hold a batch file, the next LAUNCH works.
    f.runner.failure.clear();
    w.qt.batch_path = testing::qt_command;
    f.take_log();
    launch_click(w);
    EXPECT_EQ(f.take_log(), (CallLog{"indicator cyan", "run " + testing::qt_command, "pause 3000",
                                     "indicator pink"}));
}

// A batch file that has already ended with an error after the pause started
// nothing: the user is told, and the start counts as failed.
TEST(Launch, ABatchFileThatEndedAtOnceIsReported) {
    for (const auto& [code, meaning] :
         {std::pair{9009UL, "the program was not found"}, std::pair{3UL, "the path was not found"},
          std::pair{1UL, "the command failed"}, std::pair{5UL, "access was denied"}}) {
        WatchedWindow f({{"USE_QT_BAT_TICKBOX", "1"}, {"AUTOSTART_TICKBOX", "1"}});
        MainWindow& w = f.w;
        f.watch(false, false);
        f.runner.ends_with = code;
        for (int tick = 0; tick < 11; ++tick) {
            countdown_tick(w);
        }
        EXPECT_EQ(f.take_log(), (CallLog{"indicator yellow", "run " + testing::qt_command,
                                         "pause 3000", "indicator pink", "message"}));
        EXPECT_EQ(f.notifier.messages.at(0),
                  "ZV-KOB started the QT program's batch file, but it ended at once with exit "
                  "code " +
                      std::to_string(code) + ": " + meaning +
                      ".\n\nCommand: " + testing::qt_command +
                      "\n\nCheck the QT Folder and QT Filename in Settings, press \"Save To "
                      "Registry\" and \"Save .BAT Files\", then try again.");
        EXPECT_FALSE(w.countdown_timer.enabled() || w.auto_close_timer.enabled())
            << "a failed start: no auto-close to finish";
    }
}

// A batch file that hands the node over and ends well (exit code 0) started it.
TEST(Launch, ABatchFileThatEndedWellStartedTheNode) {
    WatchedWindow f({{"USE_QT_BAT_TICKBOX", "1"}});
    f.watch(false, false);
    f.runner.ends_with = 0;
    launch_click(f.w);
    EXPECT_EQ(f.take_log(), (CallLog{"indicator cyan", "run " + testing::qt_command, "pause 3000",
                                     "indicator pink"}));
}

// With the other program stopped LAUNCH may be pressed, but this copy's node
// that runs, or is asked to stop, is not started a second time.
TEST(Launch, StartsNoSecondNodeBesideThisCopysOwn) {
    testing::LaunchedDaemon f;
    launch_click(f.w);
    f.w.daemon.node.life.on(NodeEvent::stop_asked, f.clock.now);
    launch_click(f.w);
    EXPECT_EQ(f.take_log(), (CallLog{"message", "message"}));
    EXPECT_EQ(
        f.notifier.messages.at(0),
        "LAUNCH starts nothing: this copy's DAEMON program bitcoind.exe (process 5000) runs.");
    EXPECT_NE(f.notifier.messages.at(1).find("is stopping"), std::string::npos);
}

// Clicks queued behind the one that started the node (an automation tool)
// start nothing until the watcher has looked again.
TEST(Launch, AClickIsOneStart) {
    WatchedWindow f({{"USE_QT_BAT_TICKBOX", "1"}});
    MainWindow& w = f.w;
    f.watch(false, false);
    for (int click = 0; click < 20; ++click) {
        launch_click(w);
    }
    EXPECT_EQ(f.take_log(), (CallLog{"indicator cyan", "run " + testing::qt_command, "pause 3000",
                                     "indicator pink"}));
    f.watch(false, false);
    launch_click(w);
    EXPECT_EQ(f.take_log().at(1), "run " + testing::qt_command)
        << "the watcher still sees nothing running: a new click starts again";
}

TEST(Launch, StartsNothingOnceWindowsIsEndingTheSession) {
    WatchedWindow f({{"USE_QT_BAT_TICKBOX", "1"}, {"AUTOSTART_TICKBOX", "1"}});
    MainWindow& w = f.w;
    f.watch(false, false);
    w.guardian.sign_out.session_ending();
    launch_click(w);
    EXPECT_EQ(f.take_log(), CallLog{"message"}) << "LAUNCH says why";
    EXPECT_NE(f.notifier.messages.at(0).find("Windows is ending the session"), std::string::npos);
    for (int tick = 0; tick < 11; ++tick) {
        countdown_tick(w);
    }
    EXPECT_EQ(f.take_log(), CallLog{});
    EXPECT_EQ(w.countdown_display.back_colour(), colours::pink);
    EXPECT_EQ(w.countdown_display.text(), "-- --") << "it counts on: no drive to wait for";
    EXPECT_TRUE(w.countdown_timer.enabled()) << "should the session go on, the countdown does too";
}

// Run the Node at Low Priority: the interpreter is created below normal and
// the node set low as soon as it is held, told once a run; ticking it while
// the node runs applies at once, clearing restores normal. An adopted node
// is left as it is.
TEST(LowPriority, StartsTheNodeLowAndChangesOnlyANodeThisCopyStarted) {
    testing::LaunchedDaemon f({"NODE_LOW_PRIORITY"});
    const auto priorities = [&f] { return testing::calls_starting(f.log, "priority "); };
    EXPECT_EQ(f.history.count("The node runs at low priority: below-normal CPU and low I/O."), 1U);
    f.watch(false, true);
    f.watch(false, true);
    EXPECT_EQ(f.history.count("The node runs at low priority"), 1U) << "once a run";
    low_priority_clicked(f.w);
    EXPECT_EQ(priorities(), CallLog{"priority 5000 normal"});
    EXPECT_TRUE(f.history.holds("The node runs at normal priority again."));
    f.take_log();
    f.priority.io_refusal = "STATUS_NOT_IMPLEMENTED";
    low_priority_clicked(f.w);
    EXPECT_EQ(priorities(), CallLog{"priority 5000 low"});
    EXPECT_TRUE(
        f.history.holds("The node runs at below-normal CPU priority; its I/O priority could not "
                        "be lowered: STATUS_NOT_IMPLEMENTED"));

    f.watch(false, false);  // stopped; started again with the tick on
    f.take_log();
    launch_click(f.w);
    EXPECT_EQ(testing::calls_starting(f.take_log(), "run "),
              CallLog{"run C:\\TARLOWEN\\ZV-KOB\\ZVKOB-D.BAT below normal"});
    f.set_running(false, true);
    process_watcher_tick(f.w);
    EXPECT_EQ(priorities(), CallLog{"priority 5000 low"}) << "each run";

    WatchedWindow adopted({{"NODE_LOW_PRIORITY", "1"}});  // the node ran before ZV-KOB
    adopted.set_running(false, true);
    process_watcher_tick(adopted.w);
    low_priority_clicked(adopted.w);
    low_priority_clicked(adopted.w);
    ASSERT_EQ(adopted.w.daemon.node.id(), 5000U);
    ASSERT_EQ(adopted.w.daemon.node.interpreter(), nullptr) << "adopted";
    EXPECT_EQ(testing::calls_starting(adopted.log, "priority "), CallLog{});
}

}  // namespace
}  // namespace zvkob

namespace zvkob {
namespace {

// What Debian's litecoind (0.21.2.1) writes when its block index is damaged:
// it exits with code 1 about a second after its start.
const std::string damaged_index_log =
    "\n\n2027-02-01T00:00:00Z Litecoin Core version v0.21.2.1-gfce5d459f0a8 (release build)\n"
    "2027-02-01T00:00:00Z init message: Loading block index...\n"
    "2027-02-01T00:00:00Z Opening LevelDB in /srv/node data/regtest/blocks/index\n"
    "2027-02-01T00:00:00Z Fatal LevelDB error: Corruption: checksum mismatch\n"
    "2027-02-01T00:00:00Z You can use -debug=leveldb to get more complete diagnostic messages\n"
    "2027-02-01T00:00:00Z Fatal LevelDB error: Corruption: checksum mismatch\n"
    "2027-02-01T00:00:00Z : Error opening block database.\n"
    "Please restart with -reindex or -reindex-chainstate to recover.\n"
    "2027-02-01T00:00:00Z Aborted block database rebuild. Exiting.\n"
    "2027-02-01T00:00:00Z Shutdown: In progress...\n"
    "2027-02-01T00:00:01Z Shutdown: done\n";
const std::string reason = "Fatal LevelDB error: Corruption: checksum mismatch";
const std::string advice =
    "Start the node once by hand with -reindex: it rebuilds its damaged database, which takes "
    "hours.";

struct FailingStart : WatchedWindow {
    explicit FailingStart(const char* more = "NOTIFICATION_AREA")
        : WatchedWindow(testing::daemon_on_d_chain({more}), Load{}) {
        files.log_end = {damaged_index_log, true, {}};
        watch(false, false);
    }
    std::string tip() const { return w.daemon.status.label().tooltip(); }
    bool told_everywhere() const {
        return history.holds(
                   "The DAEMON program's log since this start shows why it ended "
                   "(D:\\Chain\\debug.log shows a fatal error (the node exited with "
                   "code 1)): " +
                   reason + " " + advice) &&
               tip().find("The node ended after an error: " + reason + "\n" + advice) !=
                   std::string::npos &&
               tray_area.last_notice == reason + "\n" + advice;
    }
};

// The node ends during the pause after its start (its batch file has ended
// with its exit code): its log since this start tells why, everywhere the
// user looks, and the start's own line stays as it was.
TEST(FailedStart, TheNodesOwnReasonAndAdviceAreToldWhenItEndsDuringThePause) {
    FailingStart f;
    f.runner.ends_with = 1;
    launch_click(f.w);
    EXPECT_TRUE(f.history.holds("LAUNCH started the DAEMON program: " + testing::daemon_command +
                                " - it ended at once with exit code 1 (the command failed)"));
    EXPECT_TRUE(f.told_everywhere()) << f.tip();
    ASSERT_EQ(f.notifier.messages.size(), 1U);
    EXPECT_EQ(f.notifier.messages[0],
              "ZV-KOB started the DAEMON program's batch file, but it ended at once with exit "
              "code 1: the command failed.\n\nCommand: " +
                  testing::daemon_command + "\n\nThe node's log says why: " + reason + "\n\n" +
                  advice);
    EXPECT_EQ(f.files.paths_read.back(), "D:\\Chain\\debug.log");

    // The next start forgets it; a log of an earlier run tells nothing of this one.
    f.clock.advance(60'000);
    f.watch(false, false);
    f.files.log_end = {
        "\n\n2020-01-01T00:00:00Z Litecoin Core version v0.21\n" + reason + "\n", true, {}};
    launch_click(f.w);
    EXPECT_EQ(f.tip().find("after an error"), std::string::npos) << f.tip();
    ASSERT_EQ(f.notifier.messages.size(), 2U);
    EXPECT_NE(f.notifier.messages[1].find("\n\nCheck the DAEMON Folder and DAEMON Filename"),
              std::string::npos);
}

// Right after the pause: the batch file ends before the node was seen, or
// the node is seen and ends a moment later (Keep Node Running off).
TEST(FailedStart, ANodeThatEndsRightAfterThePauseIsExplainedToo) {
    FailingStart batch_ends;
    launch_click(batch_ends.w);
    batch_ends.runner.last_started->ended = ProcessEnd{1, batch_ends.clock.now};
    batch_ends.watch(false, false);
    EXPECT_TRUE(batch_ends.told_everywhere()) << batch_ends.tip();
    ASSERT_EQ(batch_ends.notifier.messages.size(), 1U);
    EXPECT_EQ(batch_ends.notifier.messages[0],
              "The DAEMON program ended right after its start.\n\nThe node's log says why: " +
                  reason + "\n\n" + advice);

    FailingStart node_ends;
    launch_click(node_ends.w);
    node_ends.watch(false, true);
    node_ends.clock.advance(failed_start_within_ms - 1000);
    node_ends.node_exit_code = 1;
    node_ends.watch(false, false);
    EXPECT_TRUE(node_ends.told_everywhere()) << node_ends.tip();

    // One that ran longer has not failed to start: without Keep Node Running
    // its stop is not read.
    FailingStart ran_long;
    launch_click(ran_long.w);
    ran_long.watch(false, true);
    ran_long.clock.advance(failed_start_within_ms);
    ran_long.node_exit_code = 1;
    ran_long.watch(false, false);
    EXPECT_TRUE(ran_long.notifier.messages.empty());
    EXPECT_FALSE(ran_long.history.holds("shows why it ended"));
}

// Keep Node Running's restart into the same error: told once, and the node
// is left stopped, not started again and again.
TEST(FailedStart, KeepNodeRunningDoesNotRestartANodeIntoTheSameError) {
    FailingStart f("KEEP_NODE_RUNNING");
    launch_click(f.w);
    f.watch(false, true);
    f.clock.advance(10 * 60'000);
    f.files.log_end = {"x\n2027-02-01T00:00:00Z UpdateTip: new best=00 height=5\n", true, {}};
    f.node_exit_code = 137;
    f.watch(false, false);  // a crash: the restart is armed
    ASSERT_TRUE(f.w.countdown_timer.enabled());
    f.files.log_end = {damaged_index_log, true, {}};
    f.runner.ends_with = 1;
    while (f.w.countdown_timer.enabled()) {
        countdown_tick(f.w);
    }
    EXPECT_TRUE(f.history.holds("Keep Node Running started the DAEMON program: "));
    EXPECT_TRUE(
        f.history.holds("Keep Node Running: the DAEMON program (bitcoind.exe) stopped at "
                        "once after an error; it is left stopped."));
    EXPECT_TRUE(f.history.holds(reason + " " + advice));
    for (int tick = 0; tick < 200; ++tick) {
        f.clock.advance(1000);
        f.watch(false, false);
        if (f.w.countdown_timer.running()) {
            f.w.countdown_timer.tick();
        }
    }
    EXPECT_FALSE(f.w.countdown_timer.enabled());
    EXPECT_EQ(f.history.count("Keep Node Running started the DAEMON program: "), 1U);
    ASSERT_EQ(f.notifier.messages.size(), 1U);
    EXPECT_NE(f.notifier.messages[0].find(advice), std::string::npos);
}

}  // namespace
}  // namespace zvkob
