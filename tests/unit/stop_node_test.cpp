#include "main_window/stop_node.hpp"

#include <gtest/gtest.h>

#include "main_window/launcher.hpp"
#include "main_window/node_of_this_copy.hpp"
#include "main_window/session_end.hpp"
#include "watched_window.hpp"

namespace zvkob {
namespace {

using testing::CallLog;
using testing::WatchedWindow;

constexpr std::int64_t minute = 60'000;
constexpr unsigned long interpreter = 4711;  // what the fake runner starts

TEST(NodeOfThisCopy, IsTheOneItStartedElseTheOneOfItsDataFolder) {
    const std::vector<RunningProcess> running{
        {10, 1, R"("bitcoind.exe" -datadir=D:\Chain2)"},
        {11, 1, R"("bitcoind.exe" -conf=x -datadir=d:\chain\ -disablewallet=0)"},
        {12, interpreter, R"("bitcoind.exe" -datadir="E:\My Chain\\")"},
        {13, 1, R"("bitcoind.exe" -datadir= -disablewallet=0)"}};
    EXPECT_EQ(node_of_this_copy(running, interpreter, "D:\\Chain", "bitcoind.exe").id, 12U)
        << "the child of the interpreter it started, whatever its folder";
    EXPECT_EQ(node_of_this_copy(running, 99, "D:\\Chain", "bitcoind.exe").id, 11U)
        << "not D:\\Chain2; case and a trailing backslash do not matter";
    EXPECT_EQ(node_of_this_copy(running, std::nullopt, "e:\\my chain", "bitcoind.exe").id, 12U)
        << "a quoted folder";
    EXPECT_EQ(node_of_this_copy(running, std::nullopt, "", "bitcoind.exe").id, 13U)
        << "no data folder: the one that names none";

    const NodeIdentity two = node_of_this_copy({running[1], running[1]}, {}, "D:\\Chain", "x.exe");
    EXPECT_NE(two.why_not.find("2 programs named x.exe whose command line holds the data folder "
                               "D:\\Chain run, and ZV-KOB cannot tell which"),
              std::string::npos)
        << two.why_not;
    EXPECT_NE(node_of_this_copy(running, {}, "F:\\Else", "x.exe").why_not.find("No x.exe "),
              std::string::npos);
    EXPECT_NE(node_of_this_copy({{20, 1, ""}}, {}, "", "x.exe").why_not.find("does not show"),
              std::string::npos)
        << "a command line Windows hides is not taken for one without a data folder";
}

// A copy whose DAEMON node, started by LAUNCH with its data folder set, runs.
struct Running : WatchedWindow {
    explicit Running(const std::string& also_ticked = "KEEP_NODE_RUNNING")
        : WatchedWindow({{"USE_DAEMON_BAT_TICKBOX", "1"},
                         {"KEEP_NODE_RUNNING", "1"},
                         {also_ticked, "1"},
                         {"BLOCKCHAIN_FOLDER_TEXTBOX", "D:\\Chain"}}) {
        watch(false, false);
        launch_click(w);
        watch(false, true);
        nodes.listed.processes = {{5000, interpreter, "bitcoind.exe -datadir=D:\\Chain"}};
        take_log();
    }
};

TEST(StopNode, AsksAConsoleNodeWithCtrlCAndWaitsUntilItHasStopped) {
    Running f;
    stop_node_clicked(f.w);
    EXPECT_EQ(f.take_log(), CallLog{"ctrl+c 5000"});
    EXPECT_NE(f.w.daemon.status.label().tooltip().find("Stopping: asked just now"),
              std::string::npos);
    EXPECT_EQ(f.w.countdown_display.text(), "stop");
    stop_node_clicked(f.w);
    EXPECT_EQ(f.take_log(), CallLog{"message"}) << "asked once";

    f.clock.advance(minute);
    f.watch(false, true);
    f.watch(false, true);
    ASSERT_EQ(f.notifier.messages.size(), 2U) << "said once: it still runs";
    EXPECT_NE(f.notifier.messages[1].find("asked the DAEMON program (bitcoind.exe, process 5000) "
                                          "to stop a minute ago, and it still runs"),
              std::string::npos)
        << f.notifier.messages[1];
    EXPECT_NE(f.w.daemon.status.label().tooltip().find("Stopping: asked 1 min ago"),
              std::string::npos);

    f.watch(false, false);
    EXPECT_FALSE(f.w.stopping);
    EXPECT_EQ(f.w.daemon.status.label().tooltip(), "");
    EXPECT_EQ(f.w.countdown_display.text(), "-- --") << "as before";
    EXPECT_FALSE(f.w.countdown_timer.enabled()) << "Keep Node Running leaves it stopped";
    EXPECT_TRUE(
        f.history.holds("Stop Node asked the DAEMON program (bitcoind.exe, process 5000) "
                        "to stop with Ctrl+C on its console."));
    EXPECT_TRUE(f.history.holds("The DAEMON program (bitcoind.exe, process 5000) stopped 1 min"));
}

TEST(StopNode, ClosesAWindowedNodeAndSaysWhyWhenItCannotAsk) {
    Running f;
    f.watch(true, false);  // the QT program runs instead, started elsewhere
    f.nodes.listed.processes = {{6000, 1, "bitcoin-qt.exe -datadir=D:\\Chain"},
                                {6001, 1, "bitcoin-qt.exe -datadir=D:\\Chain"}};
    stop_node_clicked(f.w);
    EXPECT_EQ(f.take_log(), CallLog{"message"}) << "two nodes of this folder: neither is stopped";
    EXPECT_NE(f.notifier.messages.back().find("cannot tell which"), std::string::npos);

    f.nodes.listed.processes.pop_back();
    f.nodes.refusal = "The program has no window to close.";
    stop_node_clicked(f.w);
    EXPECT_EQ(f.take_log(), (CallLog{"close windows 6000", "message"}));
    EXPECT_NE(f.notifier.messages.back().find("has no window to close"), std::string::npos);
    EXPECT_FALSE(f.w.stopping || f.w.qt.stop_requested);

    f.nodes.refusal.clear();
    f.nodes.listed.failure = "The process query did not answer within 5 seconds.";
    stop_node_clicked(f.w);
    EXPECT_NE(f.notifier.messages.back().find("did not answer"), std::string::npos);

    f.watch(false, false);
    stop_node_clicked(f.w);
    EXPECT_NE(f.notifier.messages.back().find("nothing to stop"), std::string::npos);
}

struct SignOut : Running {
    SignOut() : Running("SAFE_SIGN_OUT") {}
    const CallLog held{"ctrl+c 5000", "hold session end: Stopping the node safely\u2026"};

    // A watcher tick's calls beside its queries.
    CallLog watched(bool daemon_runs) {
        probe.running.clear();
        if (daemon_runs) {
            probe.running.push_back(testing::daemon_image);
        }
        process_watcher_tick(w);
        CallLog calls;
        for (std::string& call : take_log()) {
            if (!call.starts_with("probe ")) {
                calls.push_back(std::move(call));
            }
        }
        return calls;
    }
};

TEST(SafeSignOut, HoldsTheEndOfTheSessionUntilTheNodeHasStoppedThenCloses) {
    SignOut f;
    EXPECT_FALSE(session_end_requested(f.w));
    EXPECT_EQ(f.take_log(), f.held);
    EXPECT_FALSE(session_end_requested(f.w)) << "asked again: still held, the node asked once";
    EXPECT_EQ(f.watched(true), CallLog{});
    EXPECT_EQ(f.watched(false), (CallLog{"release session end", "close main"}));
    EXPECT_EQ(f.w.close_reason, CloseReason::session_end);
    EXPECT_TRUE(f.notifier.messages.empty());
}

TEST(SafeSignOut, LetsGoAfterTenMinutesOrWhenWindowsEndsOrCancels) {
    {
        SignOut f;
        session_end_requested(f.w);
        EXPECT_EQ(f.take_log(), f.held);
        f.clock.advance(10 * minute);
        EXPECT_EQ(f.watched(true), (CallLog{"release session end", "close main"}));
        EXPECT_TRUE(f.notifier.messages.empty()) << "no box while the session ends";
        EXPECT_TRUE(f.history.holds("held ten minutes"));
    }
    {
        SignOut f;
        session_end_requested(f.w);
        session_ends(f.w);  // the user chose "Shut down anyway"
        const CallLog log = f.take_log();
        EXPECT_EQ(CallLog(log.begin(), log.begin() + 3),
                  (CallLog{f.held[0], f.held[1], "release session end"}));
        EXPECT_FALSE(testing::calls_starting(log, "save ").empty()) << "and saves as always";
    }
    SignOut f;
    session_end_requested(f.w);
    session_end_cancelled(f.w);
    EXPECT_EQ(f.take_log(), (CallLog{f.held[0], f.held[1], "release session end"}));
    EXPECT_EQ(f.watched(true), CallLog{});
    EXPECT_TRUE(f.w.stopping) << "the node goes on stopping; ZV-KOB stays";
}

TEST(SafeSignOut, DoesNotHoldWhenOffOrWhenItCannotTellTheNode) {
    Running off;
    EXPECT_TRUE(session_end_requested(off.w));
    EXPECT_EQ(off.take_log(), CallLog{});
    SignOut f;
    f.nodes.listed.processes.clear();
    EXPECT_TRUE(session_end_requested(f.w));
    EXPECT_EQ(f.take_log(), CallLog{});
    EXPECT_TRUE(f.history.holds("The end of the session is not held: No bitcoind.exe"));
}

}  // namespace
}  // namespace zvkob
