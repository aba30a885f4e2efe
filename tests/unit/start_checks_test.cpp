#include "main_window/start_checks.hpp"

#include <gtest/gtest.h>

#include "main_window/countdown.hpp"
#include "main_window/launcher.hpp"
#include "main_window/start_rule.hpp"
#include "watched_window.hpp"

namespace zvkob {
namespace {

using testing::CallLog;
using testing::WatchedWindow;

const std::string data_folder = "E:\\Chain";
const std::string start = "run " + testing::daemon_command;

// A DAEMON node whose data folder is on a drive ZV-KOB checks before a start.
struct Checked : WatchedWindow {
    explicit Checked(const std::string& check = "1")
        : WatchedWindow({{"USE_DAEMON_BAT_TICKBOX", "1"},
                         {"CHECK_DATA_DRIVE", check},
                         {"BLOCKCHAIN_FOLDER_TEXTBOX", data_folder}}) {
        watch(false, false);
    }

    // The countdown from its start to its zero step and `more` ticks after.
    CallLog count_down(int more = 0) {
        start_stop_click(w);
        for (int tick = 1; tick <= 11 + more; ++tick) {
            countdown_tick(w);
        }
        return testing::calls_starting(take_log(), "run ");
    }
};

TEST(DataDrive, TheCountdownWaitsForTheDataFolderAndStartsOnceItIsThere) {
    Checked f;
    f.files.missing = {data_folder};
    EXPECT_EQ(f.count_down(5), CallLog{});
    EXPECT_EQ(f.w.countdown_display.text(), "wait");
    EXPECT_NE(f.w.countdown_display.tooltip().find("waiting for E:\\Chain"), std::string::npos);
    EXPECT_EQ(std::count_if(f.history.events.begin(), f.history.events.end(),
                            [](const std::string& e) { return e.find("waiting for") != e.npos; }),
              1)
        << "recorded once, not each second";

    f.files.missing.clear();  // the drive is connected
    countdown_tick(f.w);
    EXPECT_EQ(testing::calls_starting(f.take_log(), "run "), CallLog{start});
    EXPECT_EQ(f.w.countdown_display.tooltip(), "");

    Checked stopped;
    stopped.files.missing = {data_folder};
    stopped.count_down();
    start_stop_click(stopped.w);  // STOP cancels the wait
    EXPECT_FALSE(stopped.w.countdown_timer.enabled());
    EXPECT_EQ(stopped.w.countdown_display.text(), "-- --");
}

TEST(DataDrive, AShortDriveHoldsTheCountdownAndLaunchAsks) {
    Checked f;
    f.files.free.bytes = free_space_floor - 1;
    EXPECT_EQ(f.count_down(), CallLog{});
    EXPECT_NE(f.w.countdown_display.tooltip().find(
                  "waiting for free space: 1.0 GiB free on the drive of E:\\Chain"),
              std::string::npos)
        << f.w.countdown_display.tooltip();
    start_stop_click(f.w);

    f.notifier.answer = false;
    launch_click(f.w);
    EXPECT_EQ(f.take_log(), CallLog{"question, no"});
    f.notifier.answer = true;
    launch_click(f.w);
    EXPECT_EQ(testing::calls_starting(f.take_log(), "run "), CallLog{start});
    EXPECT_TRUE(f.history.holds("the user starts the node anyway"));
}

TEST(DataDrive, LaunchRefusesAMissingFolderAndAFailedQueryHoldsNothing) {
    Checked f;
    f.files.missing = {data_folder};
    launch_click(f.w);
    EXPECT_EQ(f.take_log(), CallLog{"message"});
    EXPECT_NE(f.notifier.messages[0].find("E:\\Chain is not there. Is its drive connected?"),
              std::string::npos);

    f.files.missing.clear();
    f.files.free.failure = "The network path was not found.";
    launch_click(f.w);
    EXPECT_EQ(testing::calls_starting(f.take_log(), "run "), CallLog{start});
    EXPECT_TRUE(
        f.history.holds("cannot tell the free space on the drive of E:\\Chain: The "
                        "network path was not found. The start goes on."));

    Checked unticked("0");
    unticked.files.missing = {data_folder};
    EXPECT_EQ(unticked.count_down(), CallLog{start}) << "nothing is checked unless ticked";
}

// The one rule LAUNCH, the countdown and Keep Node Running ask, in the order
// its reasons are checked.
TEST(StartRule, AnswersWithTheFirstReasonThatHolds) {
    using enum StartRefusal;
    struct Case {
        const char* state;
        StartRefusal refusal;
        const char* reason;
    };
    for (const Case& c : {Case{"nothing", none, ""},
                          Case{"ending", session_ending, "Windows is ending the session"},
                          Case{"unwatched", not_watched, "cannot tell whether the DAEMON"},
                          Case{"runs", node_runs, "bitcoind.exe (process 5000) runs"},
                          Case{"stopping", node_stopping, "is stopping (asked just now)"},
                          Case{"missing", data_folder_missing, "waiting for E:\\Chain"},
                          Case{"short", short_of_space, "0.5 GiB free on the drive"}}) {
        Checked f;
        const std::string state = c.state;
        f.w.session_ending = state == "ending";
        if (state == "unwatched") {
            f.probe.failures[testing::daemon_image] = "The query failed.";
            f.watch(false, false);
        } else if (state == "runs" || state == "stopping") {
            launch_click(f.w);
            f.watch(false, true);
            if (state == "stopping") {
                f.w.daemon.node.life.on(NodeEvent::stop_asked, f.clock.now);
            }
        }
        if (state == "missing") {
            f.files.missing = {data_folder};
        }
        if (state == "short") {
            f.files.free.bytes = free_space_floor / 2;
        }
        const StartAnswer answer = may_start_now(f.w, f.w.daemon);
        EXPECT_EQ(answer.refusal, c.refusal) << state;
        EXPECT_NE(answer.reason.find(c.reason), std::string::npos)
            << state << ": " << answer.reason;
    }
}

}  // namespace
}  // namespace zvkob
