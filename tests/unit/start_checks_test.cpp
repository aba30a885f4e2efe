#include "guardian/flows/starting/start_check_events.hpp"

#include <gtest/gtest.h>

#include <future>
#include <thread>

#include "main_window/starting/countdown_events.hpp"
#include "main_window/event_order.hpp"
#include "main_window/starting/launcher.hpp"
#include "core/work_queue.hpp"
#include "main_window/session_end_events.hpp"
#include "guardian/flows/starting/start_rule.hpp"
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
    EXPECT_EQ(f.history.count("waiting for"), 1U) << "recorded once, not each second";
    f.watch(false, false);  // the watcher lets LAUNCH be pressed, both programs being stopped
    countdown_tick(f.w);
    EXPECT_FALSE(f.w.launch_button.enabled()) << "each zero step takes it away again";

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
    stopped.files.missing.clear();
    start_stop_click(stopped.w);
    countdown_tick(stopped.w);
    EXPECT_EQ(stopped.w.countdown_display.text(), "10") << "the wait was forgotten";
}

// The drive is asked only when the zero step could start the node: not while
// a program runs (the countdown overruns) nor while the start rule refuses.
TEST(DataDrive, IsNotAskedWhenNothingCouldStart) {
    for (const char* state : {"the wallet program runs", "the session ends"}) {
        Checked f;
        if (std::string_view(state) == "the session ends") {
            f.w.guardian.sign_out.session_ending();
        } else {
            f.watch(true, false);
        }
        f.background.holding = true;
        f.count_down();
        EXPECT_TRUE(f.background.held.empty()) << state;
    }
}

TEST(DataDrive, AShortDriveHoldsTheCountdownAndLaunchAsks) {
    Checked f;
    f.files.free.bytes = free_space_floor - 1;
    EXPECT_EQ(f.count_down(), CallLog{});
    EXPECT_NE(f.w.countdown_display.tooltip().find(
                  "waiting for free space: 1023 MiB free on the drive of E:\\Chain, 1024 MiB "
                  "needed"),
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

// A gibibyte free is enough. Space is told as a person reads it: below ten
// gibibytes in whole mebibytes, rounded down, so that a drive just short of
// the floor never reads as having it.
TEST(DataDrive, AGibibyteFreeIsEnoughAndSpaceIsToldAsAPersonReadsIt) {
    Checked f;
    f.files.free.bytes = free_space_floor;
    EXPECT_EQ(f.count_down(), CallLog{start});
    constexpr std::uint64_t gib = 1ULL << 30U;
    EXPECT_EQ(space_text(gib - 1), "1023 MiB");
    EXPECT_EQ(space_text(10 * gib - 1), "10239 MiB");
    EXPECT_EQ(space_text(10 * gib), "10.0 GiB");
    EXPECT_EQ(space_text(123 * gib + gib / 2), "123.5 GiB");
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
    Checked launched("0");
    launched.files.missing = {data_folder};
    launch_click(launched.w);
    EXPECT_EQ(testing::calls_starting(launched.take_log(), "run "), CallLog{start})
        << "nor before LAUNCH";
}

// The one rule LAUNCH, the countdown and Keep Node Running ask, in the order
// its reasons are checked: of several that hold, the first is given.
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
                          Case{"short", short_of_space, "512 MiB free on the drive"},
                          Case{"runs unwatched ending", session_ending, "Windows is ending"},
                          Case{"runs unwatched missing", not_watched, "cannot tell whether"},
                          Case{"runs missing", node_runs, "(process 5000) runs"},
                          Case{"stopping short", node_stopping, "is stopping"}}) {
        Checked f;
        const std::string state = c.state;
        const auto holds = [&state](const char* reason) {
            return state.find(reason) != state.npos;
        };
        if (holds("runs") || holds("stopping")) {
            launch_click(f.w);
            f.watch(false, true);
            if (holds("stopping")) {
                f.w.daemon.node.life.on(NodeEvent::stop_asked, f.clock.now);
            }
        }
        if (holds("ending")) {
            f.w.guardian.sign_out.session_ending();
        }
        if (holds("unwatched")) {
            f.probe.failures[testing::daemon_image] = "The query failed.";
            f.watch(false, holds("runs"));
        }
        if (holds("missing")) {
            f.files.missing = {data_folder};
        }
        if (holds("short")) {
            f.files.free.bytes = free_space_floor / 2;
        }
        DriveCheck drive;  // asked in the background first, as a start asks it
        check_data_drive(f.w.engine, [&drive](const DriveCheck& answer) { drive = answer; });
        const StartAnswer answer = may_start_now(f.w.engine, f.w.daemon.guarded, drive);
        EXPECT_EQ(answer.refusal, c.refusal) << state;
        EXPECT_NE(answer.reason.find(c.reason), std::string::npos)
            << state << ": " << answer.reason;
    }
}

// A drive on a network path may take half a minute to answer: the window
// goes on meanwhile, STOP and Windows' questions are answered at once, and
// the answer that comes late starts nothing the user has stopped.
TEST(DataDrive, ASlowAnswerHoldsNothingButTheStart) {
    Checked f;
    f.background.holding = true;
    EXPECT_EQ(f.count_down(3), CallLog{});
    EXPECT_NE(f.w.countdown_display.tooltip().find("ZV-KOB is checking the data folder's drive"),
              std::string::npos);
    EXPECT_EQ(f.background.held.size(), 1U) << "one check at a time, however long it takes";
    EXPECT_EQ(f.w.countdown.remaining(), std::chrono::seconds(0)) << "the countdown holds";
    start_stop_click(f.w);
    EXPECT_FALSE(f.w.countdown_timer.enabled()) << "STOP at once";
    EXPECT_TRUE(session_end_requested(f.w)) << "Windows' question answered at once";
    session_end_cancelled(f.w);
    f.background.release_all();
    EXPECT_EQ(testing::calls_starting(f.take_log(), "run "), CallLog{}) << "stopped meanwhile";
    EXPECT_EQ(f.w.countdown_display.tooltip(), "");
}

// The worker takes one piece at a time, in the order given: a piece that
// blocks holds the next one back, and only it. Its thread runs only while
// there is work: the first piece asks for one, and so does the first piece
// after the thread has found the queue empty for a while and ended.
TEST(WorkQueue, TakesOnePieceAtATimeInOrderByAThreadThatEndsWhenIdle) {
    WorkQueue queue;
    std::promise<void> unblock;
    std::promise<void> begun;
    std::vector<int> done;
    const auto work_through = [&queue] {
        while (auto work = queue.take(std::chrono::milliseconds(0))) {
            (*work)();
            queue.finished();
        }
    };
    EXPECT_TRUE(queue.give([&] {
        begun.set_value();
        unblock.get_future().wait();
        done.push_back(1);
    })) << "the first piece starts a thread";
    std::thread worker(work_through);
    EXPECT_EQ(begun.get_future().wait_for(std::chrono::seconds(10)), std::future_status::ready);
    EXPECT_TRUE(queue.busy()) << "the first piece runs";
    EXPECT_FALSE(queue.give([&] { done.push_back(2); })) << "taken by the running thread";
    EXPECT_FALSE(queue.wait_until_done(std::chrono::milliseconds(1)));
    EXPECT_TRUE(done.empty()) << "the second waits for the first";
    unblock.set_value();
    worker.join();  // ends as soon as the queue is empty
    EXPECT_TRUE(queue.wait_until_done(std::chrono::milliseconds(0)));
    EXPECT_EQ(done, (std::vector<int>{1, 2}));

    EXPECT_TRUE(queue.give([&] { done.push_back(3); })) << "the thread has ended: a new one";
    EXPECT_FALSE(queue.give([&] { done.push_back(4); }));
    queue.close(WorkQueue::Waiting::finish);
    std::thread finishing(work_through);
    finishing.join();
    EXPECT_EQ(done, (std::vector<int>{1, 2, 3, 4})) << "what was given is done before the end";
    EXPECT_FALSE(queue.give([&] { done.push_back(5); })) << "closed: nothing more is taken";
}

}  // namespace
}  // namespace zvkob
