#include "guardian/flows/stop_node.hpp"

#include <gtest/gtest.h>

#include "core/processes/node_stop_rules.hpp"
#include "guardian/flows/wallet_backup_events.hpp"
#include "main_window/window_menu.hpp"
#include "main_window/starting/auto_close.hpp"
#include "main_window/starting/countdown_events.hpp"
#include "main_window/event_order.hpp"
#include "guardian/keep_node_running.hpp"
#include "main_window/starting/launcher.hpp"
#include "core/folder_key.hpp"
#include "guardian/node/namesakes.hpp"
#include "main_window/load_unload.hpp"
#include "guardian/flows/metered_events.hpp"
#include "guardian/flows/neighbour_events.hpp"
#include "core/power/power_words.hpp"
#include "guardian/flows/node_care.hpp"
#include "guardian/flows/node_glance_events.hpp"
#include "main_window/session_end_events.hpp"
#include "watched_window.hpp"

namespace zvkob {
namespace {

using testing::CallLog;
using testing::WatchedWindow;

constexpr std::int64_t minute = 60'000;

// Which process with the watched image name counts for this copy, and which
// one it adopts: by its owner, by another copy's answer, or by the data
// folder a command line names where Windows shows it, however it is written.
TEST(Namesakes, BelongWhereTheirCopyOrTheirDataFolderSays) {
    using enum Belonging;
    using enum CopiesAnswer;
    struct Case {
        std::optional<std::string> command_line;
        CopiesAnswer copies;
        const char* data_folder;
        Belonging belongs;
        ProcessOwner owner = ProcessOwner::this_user_here;
    };
    for (const Case& c : {
             Case{R"("bitcoind.exe" -datadir=D:\Chain)", another_holds_it, "D:\\Chain", elsewhere},
             Case{R"(x -conf=y -datadir=d:\chain\ -disablewallet=0)", none_holds_it, "D:\\Chain",
                  this_copys},
             Case{R"(x -datadir="E:\My Chain\\")", none_holds_it, "e:\\my chain", this_copys},
             Case{R"(x "-datadir=E:\My Chain")", none_holds_it, "E:\\My Chain", this_copys},
             Case{R"(x -datadir=\\?\D:\Chain)", none_holds_it, "D:/Chain/.", this_copys},
             Case{R"(x -datadir=D:\Node\..\Chain)", none_holds_it, "d:\\chain\\", this_copys},
             Case{R"(x -datadir=D:\Chain2)", none_holds_it, "D:\\Chain", elsewhere},
             Case{"x -testnet", none_holds_it, "D:\\Chain", counts},  // the default folder
             Case{"x -datadir= -disablewallet=0", none_holds_it, "", this_copys},
             Case{R"(x -datadir=D:\Chain)", none_holds_it, "", elsewhere},
             Case{std::nullopt, none_holds_it, "D:\\Chain", counts},  // wine shows none
             Case{std::nullopt, none_holds_it, "", this_copys},
             Case{std::nullopt, one_did_not_answer, "", undecided},
             Case{R"(x -datadir=D:\Chain)", one_did_not_answer, "D:\\Chain", undecided},
             Case{R"(x -datadir=D:\Other)", one_did_not_answer, "D:\\Chain", elsewhere},
             Case{std::nullopt, another_holds_it_here, "D:\\Chain", held_here},
             Case{std::nullopt, none_holds_it, "", not_this_users, ProcessOwner::another_user},
             Case{R"(x -datadir=D:\Chain)", none_holds_it, "D:\\Chain", not_this_users,
                  ProcessOwner::another_session},
             Case{std::nullopt, none_holds_it, "", not_this_users, ProcessOwner::unknown},
         }) {
        const NamesakeFacts facts{c.command_line, c.copies, c.owner};
        EXPECT_EQ(namesake_verdict(facts, c.data_folder, folder_key).belonging, c.belongs)
            << c.command_line.value_or("(not shown)") << " / " << c.data_folder;
    }
}

// Stopping a node touches nothing else the user runs: Ctrl+C only on a
// console of the node, its interpreter and ZV-KOB, and for a node started by
// someone else only on a hidden one; only a hidden interpreter ZV-KOB started
// and held is ended afterwards; a close only to windows a user sees.
TEST(NodeStopRules, TouchNothingElseTheUserRuns) {
    const NodeConsole ours{
        {{5000, "bitcoind.exe"}, {4711, "cmd.exe"}, {1, ""}}, false, 5000, 4711, 1, ""};
    EXPECT_EQ(ctrl_c_refusal(ours), std::nullopt);
    NodeConsole alone{{{5000, "bitcoind.exe"}, {1, ""}}, false, 5000, 4711, 1, ""};
    EXPECT_EQ(ctrl_c_refusal(alone), std::nullopt) << "its interpreter has ended already";
    NodeConsole shared = ours;
    shared.processes.push_back({3000, "powershell.exe"});
    shared.processes.push_back({3100, "bitcoind.exe"});
    const auto refused = ctrl_c_refusal(shared);
    ASSERT_TRUE(refused);
    EXPECT_NE(refused->find("powershell.exe (process 3000), bitcoind.exe (process 3100)"),
              std::string::npos)
        << *refused;
    EXPECT_NE(refused->find("Stop the node in its own window"), std::string::npos);
    NodeConsole another_interpreter = ours;
    another_interpreter.interpreter_id = 9999;
    EXPECT_TRUE(ctrl_c_refusal(another_interpreter)) << "another interpreter is a shell";

    // Adopted: started by someone else, it has no interpreter of ZV-KOB's.
    NodeConsole adopted = alone;
    adopted.interpreter_id = 0;
    adopted.started_by = "cmd.exe (process 3000)";
    EXPECT_EQ(ctrl_c_refusal(adopted), std::nullopt) << "hidden, only the node and ZV-KOB";
    adopted.shown = true;
    EXPECT_NE(ctrl_c_refusal(adopted).value_or("").find("not started by ZV-KOB but by cmd.exe "
                                                        "(process 3000), and it runs in a console "
                                                        "window you can see"),
              std::string::npos);
    NodeConsole in_a_shell = ours;  // the user's shell, hidden, on the adopted node's console
    in_a_shell.interpreter_id = 0;
    EXPECT_NE(ctrl_c_refusal(in_a_shell).value_or("").find("shared with cmd.exe (process 4711)"),
              std::string::npos);

    for (const auto& [left, ends] :
         {std::pair{LeftInterpreter{true, true, false}, true},
          std::pair{LeftInterpreter{true, true, true}, false},    // someone sees it
          std::pair{LeftInterpreter{false, true, false}, false},  // not held since its start
          std::pair{LeftInterpreter{true, false, false}, false}}) {
        EXPECT_EQ(ends_left_interpreter(left), ends);
    }
    EXPECT_TRUE(receives_close({true, false}));
    EXPECT_FALSE(receives_close({false, false})) << "behind the notification-area icon";
    EXPECT_FALSE(receives_close({true, true})) << "a dialog of the wallet's";
}

// A copy whose DAEMON node, started by LAUNCH, runs guarded.
struct Running : testing::LaunchedDaemon {
    explicit Running(const char* also_ticked = "KEEP_NODE_RUNNING")
        : LaunchedDaemon({"KEEP_NODE_RUNNING", also_ticked}) {}
};

TEST(StopNode, AsksAConsoleNodeWithCtrlCAndWaitsUntilItHasStopped) {
    Running f;
    ASSERT_EQ(f.w.daemon.node.id(), 5000U) << "the child of the interpreter it started";
    stop_node_clicked(f.w);
    EXPECT_EQ(f.take_log(), CallLog{"ctrl+c 5000 through 4711"});
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

    // After that notice Stop Node asks again, and says since when.
    f.clock.advance(minute);
    stop_node_clicked(f.w);
    EXPECT_EQ(f.take_log(), CallLog{"ctrl+c 5000 through 4711"});
    EXPECT_TRUE(
        f.history.holds("to stop with Ctrl+C on its console again; it was first asked "
                        "2 min ago."));
    EXPECT_NE(f.w.countdown_display.tooltip().find("first asked 2 min ago, again just now"),
              std::string::npos);

    f.watch(false, false);
    EXPECT_EQ(f.w.daemon.node.life.cause(), StopCause::asked_for);
    EXPECT_EQ(f.w.daemon.status.label().tooltip(), "");
    EXPECT_EQ(f.w.countdown_display.text(), "-- --") << "as before";
    EXPECT_FALSE(f.w.countdown_timer.enabled()) << "Keep Node Running leaves it stopped";
    EXPECT_TRUE(
        f.history.holds("Stop Node asked the DAEMON program (bitcoind.exe, process 5000) "
                        "to stop with Ctrl+C on its console."));
    EXPECT_TRUE(
        f.history.holds("The DAEMON program bitcoind.exe stopped 2 min after it was "
                        "asked to (process 5000, exit code 0)."));
}

// A copy whose DAEMON node answers its RPC past its warm-up, Windows naming
// it as the listener.
struct OverRpc : Running {
    OverRpc() {
        files.growing_log = "2027-01-15T08:00:00Z Generated RPC authentication cookie x\n";
        files.text_files["x"] = testing::node_cookie;
        listeners.elsewhere.process_id = 5000;
        http.respond = testing::node_answering(
            {{"getblockchaininfo", R"({"blocks":5,"headers":5,"initialblockdownload":false})"},
             {"getnetworkinfo", R"({"connections":3})"},
             {"listwallets", R"(["a","b","c"])"},
             {"stop", R"("Bitcoin Core stopping")"}});
        node_progress_tick(w.engine);
        watch(false, true);
        take_log();
    }
    std::size_t stops_sent() const {
        return static_cast<std::size_t>(
            std::count_if(http.bodies.begin(), http.bodies.end(), [](const std::string& body) {
                return body.find(R"("method":"stop")") != std::string::npos;
            }));
    }
};

// The node's network as the node switches it: setnetworkactive sets it,
// getnetworkinfo tells it. The node may answer nothing but "busy", leave
// setnetworkactive unanswered (having done it all the same), or refuse it.
struct NodesNetwork {
    bool active = true;
    bool busy = false;
    bool set_unanswered = false;
    bool set_refused = false;
    std::function<HttpAnswer(const LoopbackPost&)> answering() {
        return [this](const LoopbackPost& post) {
            const std::string body(post.body);
            if (busy) {
                return HttpAnswer{HttpOutcome::answered, 503, "Work queue depth exceeded", ""};
            }
            const bool setting = body.find(R"("method":"setnetworkactive")") != std::string::npos;
            if (setting && set_refused) {
                return testing::node_answering({{"setnetworkactive", "HTTP 500"}})(post);
            }
            if (setting) {
                active = body.find("[true]") != std::string::npos;
                if (set_unanswered) {
                    return HttpAnswer{HttpOutcome::no_answer, 0, "", ""};
                }
            }
            const std::string flag = active ? "true" : "false";
            return testing::node_answering(
                {{"getblockchaininfo", R"({"blocks":5,"headers":5,"initialblockdownload":false})"},
                 {"getnetworkinfo", R"({"connections":3,"networkactive":)" + flag + "}"},
                 {"listwallets", "[]"},
                 {"setnetworkactive", flag}})(post);
        };
    }
};

template <typename Copy>
struct OnALink : Copy, NodesNetwork {
    template <typename... Settings>
    explicit OnALink(Settings... settings) : Copy(settings...) {
        this->http.respond = answering();
    }
    // The link costs so from the next reading on, 30 s later.
    void link(std::uint32_t cost) {
        this->link_cost.cost = cost;
        this->clock.advance(30'000);
        this->watch(false, true);
    }
    std::size_t calls(std::string_view method) const {
        return static_cast<std::size_t>(std::count_if(
            this->http.bodies.begin(), this->http.bodies.end(), [method](const std::string& b) {
                return b.find(R"("method":")" + std::string(method) + '"') != std::string::npos;
            }));
    }
    bool tip_says_paused() const {
        return this->w.daemon.status.label().tooltip().find(metered_tooltip_line) !=
               std::string::npos;
    }
};
using MeteredLink = OnALink<OverRpc>;

// On a metered link the node's network is paused over its RPC, and resumed
// once the link is not; a network the user paused stays paused. Off, the
// link's cost is not even read.
TEST(MeteredPause, PausesTheNodesNetworkOnAMeteredLinkAndResumesOnlyItsOwnPause) {
    MeteredLink f;
    f.link(link_cost::fixed);
    EXPECT_EQ(f.link_cost.reads, 0) << "off: nothing read";
    metered_pause_clicked(f.w);
    EXPECT_FALSE(f.active);
    EXPECT_TRUE(f.history.holds("The link is metered: ZV-KOB paused the node's network."));
    f.watch(false, true);  // the node is asked again at once
    EXPECT_TRUE(f.tip_says_paused()) << f.w.daemon.status.label().tooltip();
    f.link(link_cost::fixed | link_cost::roaming);
    EXPECT_EQ(f.calls("setnetworkactive"), 1U);
    f.link(link_cost::unrestricted);
    EXPECT_TRUE(f.active);
    EXPECT_TRUE(
        f.history.holds("The link is no longer metered: ZV-KOB resumed the node's network."));
    f.watch(false, true);
    EXPECT_FALSE(f.tip_says_paused());

    f.active = false;  // the user paused it
    f.link(link_cost::unrestricted);
    f.link(link_cost::variable);
    f.link(link_cost::unrestricted);
    EXPECT_EQ(f.calls("setnetworkactive"), 2U) << "neither paused again nor resumed";
    EXPECT_FALSE(f.active);

    f.active = true;
    f.link(link_cost::fixed);
    EXPECT_FALSE(f.active);
    // Woken on another link: its cost is read at the next look, not 30 s on.
    f.link_cost.cost = link_cost::unrestricted;
    f.clock.advance(1'000);
    f.watch(false, true);
    EXPECT_FALSE(f.active) << "read every 30 s";
    power_broadcast(f.w.engine, {PowerEvent::Kind::resumed});
    f.watch(false, true);
    EXPECT_TRUE(f.active);
    f.link(link_cost::fixed);
    EXPECT_FALSE(f.active);
    metered_pause_clicked(f.w);
    EXPECT_TRUE(f.active) << "switched off: resumed at once";
    EXPECT_TRUE(
        f.history.holds("Pause the Node's Network on Metered Links was switched off: "
                        "ZV-KOB resumed the node's network."));
}

// A user who pauses the node's network while a poll is on its way, on the
// tick the link's cost is read, keeps the pause: an unknown state is never
// "active", and ZV-KOB asks the node before it pauses. It is never resumed.
TEST(MeteredPause, AUsersPauseWhileAPollIsOnItsWayStaysTheUsers) {
    MeteredLink f;
    metered_pause_clicked(f.w);
    f.background.held_lanes = {Lane::node_rpc};
    f.link(link_cost::fixed);  // the poll and the reading fall on one tick
    f.active = false;          // the user pauses it meanwhile
    f.background.held_lanes.clear();
    f.background.release_all();
    f.link(link_cost::fixed);
    f.link(link_cost::unrestricted);
    f.link(link_cost::unrestricted);
    EXPECT_EQ(f.calls("setnetworkactive"), 0U);
    EXPECT_FALSE(f.active) << "the user's pause";
    EXPECT_FALSE(f.history.holds("ZV-KOB paused"));
}

// A pause that had no answer in time is settled by asking the node again:
// paused, it is ZV-KOB's, resumed once the link is not metered. A state kept
// through "busy" replies tells nothing of it: the pause is not taken for the
// user switching the network on.
TEST(MeteredPause, APauseWithoutAnAnswerOrThroughBusyRepliesIsSettledByTheNodeItself) {
    MeteredLink f;
    metered_pause_clicked(f.w);
    f.set_unanswered = true;
    f.link(link_cost::fixed);
    EXPECT_FALSE(f.history.holds("ZV-KOB paused")) << "not known yet";
    f.set_unanswered = false;
    f.watch(false, true);  // asked again at once
    EXPECT_TRUE(f.history.holds("The link is metered: ZV-KOB paused the node's network."));
    f.link(link_cost::unrestricted);
    EXPECT_TRUE(f.active) << "resumed as ZV-KOB's own";

    MeteredLink busy;
    metered_pause_clicked(busy.w);
    busy.link(link_cost::fixed);
    ASSERT_FALSE(busy.active);
    busy.busy = true;
    busy.link(link_cost::fixed);
    busy.link(link_cost::fixed);
    EXPECT_FALSE(busy.history.holds("switched on again")) << "a state kept from before";
    busy.busy = false;
    busy.link(link_cost::unrestricted);
    EXPECT_TRUE(busy.active);
}

// Its own pause is never left behind: clearing Show the Node's Progress (which
// follows the node's state), a link whose cost cannot be read at two readings
// in a row, and closing ZV-KOB each resume it.
TEST(MeteredPause, ItsPauseIsResumedWhenItCanNoLongerBeFollowed) {
    MeteredLink progress;
    metered_pause_clicked(progress.w);
    progress.link(link_cost::fixed);
    show_progress_clicked(progress.w);
    progress.watch(false, true);
    EXPECT_TRUE(progress.active);
    EXPECT_TRUE(progress.history.holds(resumed_event(ResumeWhy::progress_off)));

    MeteredLink cost;
    metered_pause_clicked(cost.w);
    cost.link(link_cost::fixed);
    cost.link_cost.failing = "The network list service does not answer.";
    cost.link(link_cost::fixed);
    EXPECT_FALSE(cost.active) << "one reading that fails changes nothing";
    cost.link(link_cost::fixed);
    EXPECT_TRUE(cost.active);
    EXPECT_TRUE(cost.history.holds(resumed_event(ResumeWhy::cost_unknown)));

    MeteredLink closing;
    metered_pause_clicked(closing.w);
    closing.link(link_cost::fixed);
    ASSERT_TRUE(unload_main_window(closing.w).ok());
    EXPECT_TRUE(closing.active);
    EXPECT_EQ(closing.http.waits.back(), std::chrono::seconds(3));
    EXPECT_TRUE(closing.history.holds("ZV-KOB closes: it resumed the node's network."));
}

// A copy that opens while its DAEMON node runs (adopted: its command line
// names D:\Chain) and answers its RPC, with the metered pause on.
struct OpenedBesideItsNode : WatchedWindow {
    OpenedBesideItsNode()
        : WatchedWindow({{"USE_DAEMON_BAT_TICKBOX", "1"},
                         {"BLOCKCHAIN_FOLDER_TEXTBOX", "D:\\Chain"},
                         {"METERED_PAUSE", "1"}}) {}
    void node_runs_since(std::int64_t created_ms) {
        files.growing_log = "2027-01-15T08:00:00Z Generated RPC authentication cookie x\n";
        files.text_files["x"] = testing::node_cookie;
        listeners.elsewhere.process_id = 5000;
        nodes.start(5000, testing::daemon_image, 1, R"(bitcoind.exe -datadir=D:\Chain)",
                    created_ms);
        probe.running = {testing::daemon_image};
        process_watcher_tick(w);
        node_progress_tick(w.engine);
        watch(false, true);
    }
};

// A pause it could not resume as it closed is remembered with the node's
// run, and the next start of ZV-KOB takes it over on that same run only.
TEST(MeteredPause, APauseItCouldNotResumeAtCloseIsResumedByItsNextStartOnTheSameRunOnly) {
    const std::string record = "C:\\Users\\node\\AppData\\Local\\ZV-KOB\\ZV-KOB.network-pause";
    MeteredLink f;
    metered_pause_clicked(f.w);
    f.link(link_cost::fixed);
    f.set_refused = true;
    ASSERT_TRUE(unload_main_window(f.w).ok());
    EXPECT_FALSE(f.active);
    const std::int64_t created = f.w.daemon.node.held()->created_ms();
    EXPECT_EQ(f.files.text_files[record], "5000 " + std::to_string(created) + "\n");
    EXPECT_TRUE(f.history.holds("it stays paused until the node restarts"));

    OnALink<OpenedBesideItsNode> next;
    next.active = false;
    next.files.text_files[record] = f.files.text_files[record];
    next.node_runs_since(created);
    EXPECT_FALSE(next.files.text_files.contains(record)) << "settled";
    next.link(link_cost::unrestricted);
    EXPECT_TRUE(next.active) << "ZV-KOB's own pause, on the same run";

    OnALink<OpenedBesideItsNode> other;
    other.active = false;  // the user paused this run
    other.files.text_files[record] = f.files.text_files[record];
    other.node_runs_since(created + 1);
    EXPECT_FALSE(other.files.text_files.contains(record));
    other.link(link_cost::unrestricted);
    EXPECT_FALSE(other.active) << "another run of the node";
}

// A node whose network is paused shows so, not catching up for ever, and
// lets the PC sleep: it can make no progress.
TEST(MeteredPause, APausedNodeShowsPausedAndLetsThePcSleep) {
    MeteredLink f;
    f.http.respond = [&f](const LoopbackPost& post) {
        const std::string body(post.body);
        if (body.find(R"("method":"getblockchaininfo")") != std::string::npos) {
            return testing::node_answering(
                {{"getblockchaininfo", R"({"blocks":5,"headers":900,"time":1700000000,)"
                                       R"("initialblockdownload":true})"}})(post);
        }
        return f.answering()(post);
    };
    keep_awake_clicked(f.w);
    metered_pause_clicked(f.w);
    f.watch(false, true);
    node_progress_second(f.w);
    ASSERT_TRUE(f.power.holding()) << "catching up";
    f.link(link_cost::fixed);
    f.watch(false, true);
    node_progress_second(f.w);
    EXPECT_TRUE(f.w.daemon.status.label().tooltip().starts_with("Network paused"))
        << f.w.daemon.status.label().tooltip();
    EXPECT_FALSE(f.power.holding());
    EXPECT_TRUE(f.history.holds("ZV-KOB lets the PC sleep again: the node's network is paused."));
}

// While the node's RPC answers past its warm-up, Stop Node sends it `stop`
// on the worker; a node that does not take it gets Ctrl+C after all.
TEST(StopNode, AsksOverTheNodesRpcWhileItAnswersAndCtrlCWhenItDoesNotTakeIt) {
    OverRpc f;
    ASSERT_TRUE(f.w.daemon.node.rpc().answers());
    stop_node_clicked(f.w);
    EXPECT_EQ(f.take_log(), CallLog{}) << "no Ctrl+C";
    EXPECT_EQ(f.stops_sent(), 1U);
    EXPECT_TRUE(
        f.history.holds("Stop Node asked the DAEMON program (bitcoind.exe, process 5000) "
                        "to stop over its RPC."));
    EXPECT_EQ(f.w.countdown_display.text(), "stop");

    f.clock.advance(minute);
    f.watch(false, true);
    f.take_log();
    f.http.respond = testing::node_answering({{"stop", "HTTP 401"}});
    ASSERT_TRUE(f.w.daemon.node.rpc().answers()) << "its last answer stands until the next poll";
    stop_node_clicked(f.w);
    EXPECT_EQ(f.take_log(), CallLog{"ctrl+c 5000 through 4711"});
    EXPECT_TRUE(f.history.holds(
        "Stop Node could not ask the DAEMON program (bitcoind.exe, process 5000) to stop over "
        "its RPC: the node refused ZV-KOB's credentials."));
    EXPECT_TRUE(
        f.history.holds("Stop Node asked the DAEMON program (bitcoind.exe, process 5000) to stop "
                        "with Ctrl+C on its console instead."));
    f.set_running(false, false);
    process_watcher_tick(f.w);
    EXPECT_EQ(testing::calls_starting(f.take_log(), "end interpreter"),
              CallLog{"end interpreter 4711"})
        << "Ctrl+C left the batch file's interpreter waiting";
}

// A stop that went and had no answer in time counts as asked: it is never
// sent again nor followed by Ctrl+C, the history says what is known, the
// minute's notice still comes, and once the node has gone its batch file
// runs on to its end.
TEST(StopNode, AStopSentWithoutAnAnswerCountsAsAskedAndIsNeverRepeated) {
    OverRpc f;
    f.http.respond = [](const LoopbackPost&) {
        return HttpAnswer{HttpOutcome::no_answer, 0, "", ""};  // the time ran out
    };
    stop_node_clicked(f.w);
    EXPECT_EQ(f.take_log(), CallLog{}) << "no Ctrl+C";
    EXPECT_EQ(f.stops_sent(), 1U) << "not again at the other address";
    EXPECT_TRUE(
        f.history.holds("Stop Node asked the DAEMON program (bitcoind.exe, process 5000) to stop "
                        "over its RPC; no answer within 5 s."));
    EXPECT_EQ(f.w.daemon.node.life.stage(), NodeStage::asked_to_stop);
    f.clock.advance(minute);
    f.watch(false, true);
    ASSERT_FALSE(f.notifier.messages.empty());
    EXPECT_NE(f.notifier.messages.back().find("to stop a minute ago, and it still runs"),
              std::string::npos);
    f.take_log();
    f.set_running(false, false);
    process_watcher_tick(f.w);
    EXPECT_EQ(f.w.daemon.node.life.cause(), StopCause::asked_for);
    EXPECT_EQ(testing::calls_starting(f.take_log(), "end interpreter"), CallLog{})
        << "the batch file runs on after the node";
}

// A slow poll or three slow wallet backups hold their own lanes: the log is
// read every two seconds all the while, and a stop goes at once. A stop that
// never went because ZV-KOB closed first is said not to have been sent.
TEST(StopNode, GoesAtOnceBesideSlowPollsAndBackupsAndIsNotCalledSentWhenDropped) {
    OverRpc f;
    f.background.held_lanes = {Lane::node_rpc, Lane::wallet_backup};
    f.clock.advance(5'000);
    f.watch(false, true);  // a poll, held
    ASSERT_EQ(f.background.held_on(Lane::node_rpc), 1U);
    f.folder_picker.answer = {"E:\\Backups", {}};
    back_up_wallets_clicked(f.w);
    ASSERT_EQ(f.background.held_on(Lane::wallet_backup), 1U);
    for (int second = 0; second < 30; second += 2) {
        const std::size_t reads = f.files.paths_read.size();
        f.clock.advance(2'000);
        node_progress_tick(f.w.engine);
        EXPECT_EQ(f.files.paths_read.size(), reads + 1) << "the log, at second " << second;
    }
    stop_node_clicked(f.w);
    EXPECT_EQ(f.stops_sent(), 1U) << "not behind the poll or the backups";
    EXPECT_EQ(f.background.held.size(), 2U);

    OverRpc closing;
    closing.background.held_lanes = {Lane::node_stop};
    stop_node_clicked(closing.w);
    closing.background.drop_all();  // ZV-KOB closes before the stop went
    EXPECT_EQ(closing.stops_sent(), 0U);
    EXPECT_FALSE(closing.history.holds("to stop over its RPC."));
    EXPECT_TRUE(closing.history.holds(
        "Stop Node did not send the stop to the DAEMON program (bitcoind.exe, process 5000) over "
        "its RPC: ZV-KOB closed before it went."));
}

TEST(StopNode, ClosesAWindowedNodeAndSaysWhyWhenItCannot) {
    WatchedWindow f({{"BLOCKCHAIN_FOLDER_TEXTBOX", "D:\\Chain"}});
    f.nodes.start(6000, testing::qt_image, 1, R"(bitcoin-qt.exe -datadir=D:\Chain)", 20);
    f.nodes.start(6001, testing::qt_image, 1, R"(bitcoin-qt.exe -datadir=D:\Chain)", 10);
    f.probe.running = {testing::qt_image};
    process_watcher_tick(f.w);
    EXPECT_EQ(f.w.qt.node.id(), 6001U) << "two name this copy's data folder: the older is adopted";
    EXPECT_TRUE(f.history.holds("2 bitcoin-qt.exe processes name this copy's data folder"));

    f.nodes.refusal = "The program has no window to close.";
    f.take_log();
    stop_node_clicked(f.w);
    EXPECT_EQ(f.take_log(), (CallLog{"close windows 6001", "message"}));
    EXPECT_NE(f.notifier.messages.back().find("has no window to close"), std::string::npos);
    EXPECT_EQ(f.w.qt.node.life.stage(), NodeStage::running) << "nothing was asked";

    // A node that runs but is not this copy's is left alone.
    WatchedWindow other({{"BLOCKCHAIN_FOLDER_TEXTBOX", "D:\\Chain"}});
    other.nodes.start(7000, testing::qt_image, 1);  // Windows shows no command line
    other.probe.running = {testing::qt_image};
    process_watcher_tick(other.w);
    EXPECT_TRUE(other.w.qt.status.running()) << "it counts as running";
    stop_node_clicked(other.w);
    EXPECT_EQ(other.take_log(), (CallLog{"probe bitcoin-qt.exe", "probe bitcoind.exe", "message"}));
    EXPECT_NE(other.notifier.messages.back().find("cannot match it to this copy's data folder"),
              std::string::npos);

    other.watch(false, false);
    stop_node_clicked(other.w);
    EXPECT_NE(other.notifier.messages.back().find("nothing to stop"), std::string::npos);
}

// A stop the user asked for is not undone by a countdown that is armed or
// runs past zero: Stop Node ends it, as STOP would.
TEST(StopNode, EndsAnArmedOrOverrunningCountdown) {
    for (const int ticks : {3, 30}) {  // armed; overrunning, the node running at zero
        Running f;
        f.w.keep_node_running.set_ticked(false);
        start_stop_click(f.w);
        for (int tick = 0; tick < ticks; ++tick) {
            countdown_tick(f.w);
        }
        ASSERT_TRUE(f.w.countdown_timer.enabled());
        stop_node_clicked(f.w);
        EXPECT_FALSE(f.w.countdown_timer.enabled()) << ticks;
        EXPECT_EQ(f.w.start_stop_button.text(), "START");
        EXPECT_TRUE(f.history.holds("Stop Node ended the countdown"));
        f.watch(false, false);
        for (int tick = 0; tick < 200 && f.w.countdown_timer.running(); ++tick) {
            f.w.countdown_timer.tick();
        }
        EXPECT_EQ(testing::calls_starting(f.take_log(), "run "), CallLog{}) << "it stays stopped";
    }
}

// A guarded DAEMON node, started by LAUNCH, on a PC with a battery; the
// battery stop is on, and the icon shows its notices.
struct OnBattery : testing::LaunchedDaemon {
    OnBattery() : LaunchedDaemon({"KEEP_NODE_RUNNING", "BATTERY_STOP", "NOTIFICATION_AREA"}) {}

    // The power source reads so from now on; the next reading is 30 s later.
    void power(PowerLine line, int percent, std::optional<std::int64_t> seconds_left) {
        power_source.reading = {.line = line,
                                .battery_present = true,
                                .charging = line == PowerLine::mains,
                                .percent = percent,
                                .seconds_left = seconds_left};
        clock.advance(30'000);
        watch(false, w.daemon.status.running());
    }
    bool countdown_for_power() const {
        return w.countdown_timer.enabled() && w.countdown.for_whom() == StartRequest::mains_restart;
    }
    // Stopped for the battery after two readings, then gone as asked.
    void stopped_for_power() {
        power(PowerLine::battery, 10, std::nullopt);
        power(PowerLine::battery, 10, std::nullopt);
        ASSERT_EQ(w.daemon.node.life.stage(), NodeStage::asked_to_stop);
        watch(false, false);
    }
    // A minute and more on mains power.
    void on_mains() {
        for (int reading = 0; reading < 4; ++reading) {
            power(PowerLine::mains, 50, std::nullopt);
        }
    }
    void countdown_starts() {
        while (w.countdown_timer.enabled()) {
            countdown_tick(w);
        }
        watch(false, true);
    }
};

// On battery, two readings in a row that call for it stop the node the way
// Stop Node does, once; Keep Node Running leaves that stop alone (it was
// asked for). Back on mains for a minute the countdown starts it again.
TEST(BatteryStop, StopsTheNodeOnceAndStartsItAgainAfterAMinuteOnMains) {
    OnBattery f;
    EXPECT_GE(f.power_source.reads, 1) << "read at the first tick";
    f.power(PowerLine::battery, 60, 45 * 60);  // a node catching up may take 15 min: margin 31
    f.power(PowerLine::battery, 60, 45 * 60);
    EXPECT_TRUE(f.w.daemon.node.life.stage() == NodeStage::running);
    EXPECT_NE(f.w.daemon.status.label().tooltip().find(
                  "On battery (60 %, about 45 min): the node stops cleanly at 25 % or with about "
                  "31 minutes left"),
              std::string::npos)
        << f.w.daemon.status.label().tooltip();

    f.power(PowerLine::battery, 20, 30 * 60);
    EXPECT_EQ(f.take_log(), CallLog{}) << "one reading stops nothing";
    f.tray_area.take();
    f.power(PowerLine::battery, 19, 29 * 60);
    EXPECT_EQ(f.w.daemon.node.life.stage(), NodeStage::asked_to_stop);
    EXPECT_TRUE(f.history.holds(
        "Stop Node Before the Battery Runs Out asked the DAEMON program (bitcoind.exe, process "
        "5000) to stop with Ctrl+C on its console."));
    const std::string event =
        "On battery with about 29 minutes left: ZV-KOB stopped the node, which may take 15 "
        "minutes to stop while it catches up (none of its stops was measured yet).";
    EXPECT_TRUE(f.history.holds(event));
    EXPECT_EQ(f.tray_area.last_notice, event);
    f.power(PowerLine::battery, 18, 28 * 60);
    f.power(PowerLine::battery, 18, 28 * 60);
    EXPECT_EQ(f.history.count(event), 1U) << "once";

    f.watch(false, false);
    EXPECT_TRUE(f.history.holds("stopped as ZV-KOB asked it to; it is left stopped."));
    EXPECT_FALSE(f.w.countdown_timer.enabled()) << "Keep Node Running does not restart it";
    EXPECT_NE(f.w.daemon.status.label().tooltip().find(
                  "On battery (18 %, about 28 min): ZV-KOB stopped the node; it starts again on "
                  "mains power"),
              std::string::npos)
        << f.w.daemon.status.label().tooltip();

    f.power(PowerLine::mains, 18, std::nullopt);  // mains seen first
    f.clock.advance(29'000);
    f.power(PowerLine::mains, 18, std::nullopt);  // 59 s on mains
    EXPECT_FALSE(f.w.countdown_timer.enabled()) << "59 s on mains";
    f.clock.advance(1'000);
    power_broadcast(f.w.engine, {PowerEvent::Kind::line_changed, PowerLine::mains});
    EXPECT_TRUE(f.countdown_for_power()) << "a minute on mains, charging";
    EXPECT_TRUE(f.history.holds(mains_restart_event()));
    f.countdown_starts();
    EXPECT_EQ(f.w.daemon.node.life.stage(), NodeStage::running);
    f.power(PowerLine::mains, 40, std::nullopt);
    f.power(PowerLine::mains, 40, std::nullopt);
    EXPECT_EQ(f.history.count(mains_restart_event()), 1U);
}

// Mains power starts again only a node that stopped as the battery stop
// asked, while the tick stayed on; STOP cancels that start as any other.
TEST(BatteryStop, NeverStartsANodeItDidNotStopForPower) {
    const std::pair<const char*, std::function<void(OnBattery&)>> ways[] = {
        {"stopped by hand", [](OnBattery& f) { stop_node_clicked(f.w), f.watch(false, false); }},
        {"stopped in its window", [](OnBattery& f) { f.watch(false, false); }},
        {"the tick switched off and on",
         [](OnBattery& f) {
             battery_stop_clicked(f.w);
             f.watch(false, false);
             battery_stop_clicked(f.w);
         }},
    };
    for (const auto& [name, stop] : ways) {
        SCOPED_TRACE(name);
        OnBattery f;
        f.power(PowerLine::battery, 60, 45 * 60);
        stop(f);
        f.power(PowerLine::mains, 60, std::nullopt);
        f.power(PowerLine::mains, 60, std::nullopt);
        f.power(PowerLine::mains, 60, std::nullopt);
        EXPECT_FALSE(f.w.countdown_timer.enabled());
        EXPECT_FALSE(f.history.holds(mains_restart_event()));
    }
    OnBattery f;  // stopped for power, but the user cancels the start
    f.power(PowerLine::battery, 10, std::nullopt);
    f.power(PowerLine::battery, 10, std::nullopt);
    f.watch(false, false);
    for (int reading = 0; reading < 3; ++reading) {
        f.power(PowerLine::mains, 10, std::nullopt);
    }
    ASSERT_TRUE(f.countdown_for_power());
    start_stop_click(f.w);
    EXPECT_FALSE(f.w.countdown_timer.enabled());
    f.power(PowerLine::mains, 10, std::nullopt);
    f.power(PowerLine::mains, 10, std::nullopt);
    EXPECT_FALSE(f.w.countdown_timer.enabled()) << "cancelled stays cancelled";

    OnBattery chose;  // the user's own START, cancelled, on battery: the node is the user's
    chose.stopped_for_power();
    start_stop_click(chose.w);
    start_stop_click(chose.w);
    chose.on_mains();
    EXPECT_FALSE(chose.w.countdown_timer.enabled());
}

// The mains restart meets the next outage: back on battery before its
// countdown has started the node, it is called off and owed again, after
// another minute on mains.
TEST(BatteryStop, AMainsRestartCalledOffOnBatteryIsOwedAgain) {
    OnBattery f;
    f.stopped_for_power();
    f.on_mains();
    ASSERT_TRUE(f.countdown_for_power());
    f.power(PowerLine::battery, 40, std::nullopt);
    EXPECT_FALSE(f.w.countdown_timer.enabled());
    EXPECT_TRUE(f.history.holds(mains_restart_withdrawn_event()));
    f.on_mains();
    EXPECT_TRUE(f.countdown_for_power()) << "owed again";
}

// A power event reads the power source at once; the PC going to sleep is
// only noted, and stops nothing however low the battery.
TEST(BatteryStop, PowerEventsReadAtOnceAndSleepStopsNothing) {
    OnBattery f;
    const int reads = f.power_source.reads;
    power_broadcast(f.w.engine, {PowerEvent::Kind::status_changed});
    EXPECT_EQ(f.power_source.reads, reads + 1);
    f.power_source.reading = {.line = PowerLine::battery, .battery_present = true, .percent = 5};
    power_broadcast(f.w.engine, {PowerEvent::Kind::suspending});
    EXPECT_TRUE(f.history.holds(sleep_event));
    power_broadcast(f.w.engine, {PowerEvent::Kind::status_changed});
    power_broadcast(f.w.engine, {PowerEvent::Kind::status_changed});
    EXPECT_EQ(f.w.daemon.node.life.stage(), NodeStage::running) << "never as the PC sleeps";
    f.clock.advance(3'600'000);
    power_broadcast(f.w.engine, {PowerEvent::Kind::resumed});
    power_broadcast(f.w.engine, {PowerEvent::Kind::resumed});
    EXPECT_EQ(f.history.count(wake_event), 1U);
    f.clock.advance(10'000);  // Windows' two words of one wake are one reading
    power_broadcast(f.w.engine, {PowerEvent::Kind::status_changed});
    EXPECT_EQ(f.w.daemon.node.life.stage(), NodeStage::asked_to_stop)
        << "the readings on waking are in a row";

    OnBattery off;
    battery_stop_clicked(off.w);
    const int reads_off = off.power_source.reads;
    off.power(PowerLine::battery, 5, 60);
    power_broadcast(off.w.engine, {PowerEvent::Kind::status_changed});
    power_broadcast(off.w.engine, {PowerEvent::Kind::suspending});
    EXPECT_EQ(off.power_source.reads, reads_off) << "off: nothing read";
    EXPECT_FALSE(off.history.holds(sleep_event));
    EXPECT_EQ(off.w.daemon.node.life.stage(), NodeStage::running);
}

// The node's stops are measured from its log as its progress reads it (the
// done line of the last run is read at this start); the record beside the
// history keeps them, written only while the tick is on, and the stop's
// words use them: 3 minutes measured, the stop comes with 7 minutes left.
TEST(BatteryStop, MeasuresTheNodesStopsFromItsLogAndKeepsThemWhileTicked) {
    const std::string log =
        "2026-12-01T10:00:00Z UpdateTip: new best=00ab height=800000 version=0x20000000 "
        "log2_work=95.6 tx=1 date='2026-12-01 09:59:00' progress=1.000000 "
        "cache=300.0MiB(1txo)\n"
        "2026-12-01T10:01:00Z Shutdown: In progress...\n"
        "2026-12-01T10:04:00Z Shutdown: done\n\n\n"
        "2026-12-02T08:00:00Z Bitcoin Core version v30.0.0 (release build)\n";
    const std::string record_path = "C:\\Users\\node\\AppData\\Local\\ZV-KOB\\ZV-KOB.node-stops";
    const std::string kept = "1796119440000 180000 300.0\n";

    OnBattery f;
    f.files.growing_log = log;
    node_progress_tick(f.w.engine);
    EXPECT_EQ(f.files.text_files[record_path], kept);
    f.power(PowerLine::battery, 60, 7 * 60 + 1);
    f.power(PowerLine::battery, 60, 7 * 60 + 1);
    EXPECT_EQ(f.w.daemon.node.life.stage(), NodeStage::running) << "2 x 3 min + 1 min, and 1 s";
    f.power(PowerLine::battery, 60, 7 * 60);
    f.power(PowerLine::battery, 60, 7 * 60);
    EXPECT_TRUE(
        f.history.holds("On battery with about 7 minutes left: ZV-KOB stopped the node, "
                        "whose last stop took 3 minutes."));

    testing::LaunchedDaemon off({"KEEP_NODE_RUNNING"});  // an earlier stop is in the record
    off.files.text_files[record_path] = "1000 60000 -\n";
    off.files.growing_log = log;
    node_progress_tick(off.w.engine);
    EXPECT_EQ(off.files.text_files[record_path], "1000 60000 -\n") << "nothing stored while off";
    off.records.refusal = "Access is denied.";
    battery_stop_clicked(off.w);
    EXPECT_TRUE(off.history.holds("ZV-KOB cannot keep the node's stop times in " + record_path +
                                  ": Access is denied."));
    off.records.refusal.clear();
    battery_stop_clicked(off.w);
    battery_stop_clicked(off.w);
    EXPECT_EQ(off.files.text_files[record_path], "1000 60000 -\n" + kept) << "kept once on";
}

// Windows tells one change of the power source twice, at once, and each asks
// for a reading: that is one reading, not two in a row. Readings in a row
// are ten seconds apart at least: 9.9 s is not enough.
TEST(BatteryStop, TwoPowerEventsForOneChangeAreOneReading) {
    OnBattery f;
    f.power(PowerLine::battery, 20, std::nullopt);  // the first that calls for the stop
    power_broadcast(f.w.engine, {PowerEvent::Kind::status_changed});
    power_broadcast(f.w.engine, {PowerEvent::Kind::percent_changed});
    EXPECT_EQ(f.w.daemon.node.life.stage(), NodeStage::running) << "one change, told twice";
    f.clock.advance(9'900);
    power_broadcast(f.w.engine, {PowerEvent::Kind::status_changed});
    EXPECT_EQ(f.w.daemon.node.life.stage(), NodeStage::running) << "9.9 s after";
    f.clock.advance(100);
    power_broadcast(f.w.engine, {PowerEvent::Kind::status_changed});
    EXPECT_EQ(f.w.daemon.node.life.stage(), NodeStage::asked_to_stop) << "10 s after";
}

// A stop the battery cannot ask (Ctrl+C refused; or the node's RPC refused it
// and Ctrl+C after it) is told by the history and a quiet notice, never a box:
// nobody may be at the PC. The next reading that calls for it asks again.
TEST(BatteryStop, AStopThatCannotBeAskedIsToldQuietlyAndAskedAgain) {
    const std::string failed =
        "On battery at 20 %: ZV-KOB could not stop the node; it asks again at the next reading.";
    OnBattery f;
    f.nodes.refusal = "Access is denied.";
    f.power(PowerLine::battery, 20, std::nullopt);
    f.power(PowerLine::battery, 20, std::nullopt);
    EXPECT_TRUE(f.notifier.messages.empty()) << "no box";
    EXPECT_TRUE(f.history.holds(failed));
    EXPECT_EQ(f.tray_area.last_notice, failed);
    f.nodes.refusal.clear();
    f.clock.advance(30'000);
    f.take_log();
    process_watcher_tick(f.w);
    EXPECT_EQ(testing::calls_starting(f.take_log(), "ctrl+c"), CallLog{"ctrl+c 5000 through 4711"})
        << "at the next reading";

    OverRpc rpc;  // the node's RPC refuses the stop, and Ctrl+C is refused after it
    battery_stop_clicked(rpc.w);
    rpc.http.respond = testing::node_answering(
        {{"getblockchaininfo", R"({"blocks":5,"headers":5,"initialblockdownload":false})"},
         {"getnetworkinfo", R"({"connections":3})"},
         {"stop", "HTTP 401"}});
    rpc.nodes.refusal = "Access is denied.";
    rpc.power_source.reading = {.line = PowerLine::battery, .battery_present = true, .percent = 20};
    for (int reading = 0; reading < 2; ++reading) {
        rpc.clock.advance(30'000);
        rpc.watch(false, true);
    }
    EXPECT_EQ(rpc.history.count("to stop over its RPC: the node refused"), 1U);
    EXPECT_TRUE(rpc.notifier.messages.empty()) << "no box";
    EXPECT_TRUE(rpc.history.holds(failed));
    EXPECT_EQ(rpc.w.daemon.node.life.stage(), NodeStage::running) << "never asked: it runs on";
    start_stop_click(rpc.w);  // START while the node runs starts nothing: the stop stays owed
    rpc.nodes.refusal.clear();
    rpc.clock.advance(30'000);
    rpc.take_log();
    process_watcher_tick(rpc.w);
    EXPECT_EQ(testing::calls_starting(rpc.take_log(), "ctrl+c"),
              CallLog{"ctrl+c 5000 through 4711"})
        << "asked again at the next reading, of a node the refusals left running";
}

// The user's stop is the user's: Stop Node pressed while the battery's stop is
// under way, or after the mains restart, is never undone by mains power,
// whatever battery episodes follow.
TEST(BatteryStop, TheUsersStopStaysAStopWhateverBatteryEpisodesFollow) {
    OnBattery f;
    f.power(PowerLine::battery, 10, std::nullopt);
    f.power(PowerLine::battery, 10, std::nullopt);
    ASSERT_EQ(f.w.daemon.node.life.stage(), NodeStage::asked_to_stop);
    stop_node_clicked(f.w);  // "it is stopping": the user wants it stopped too
    f.watch(false, false);
    f.on_mains();
    EXPECT_FALSE(f.w.countdown_timer.enabled()) << "stopped by the user as well";

    OnBattery again;
    again.stopped_for_power();
    again.on_mains();
    ASSERT_TRUE(again.countdown_for_power());
    again.countdown_starts();
    stop_node_clicked(again.w);
    again.watch(false, false);
    again.power(PowerLine::battery, 10, std::nullopt);  // a second battery episode
    again.power(PowerLine::battery, 10, std::nullopt);
    again.on_mains();
    EXPECT_FALSE(again.w.countdown_timer.enabled());
    EXPECT_EQ(again.history.count(mains_restart_event()), 1U);
}

// The mains restart is the guardian's own start: with Auto Start and Auto
// Close ticked and Keep Node Running off, ZV-KOB stays open after it, to guard
// the next outage. It starts only the program it stopped, while that one is
// still chosen; otherwise the history says why.
TEST(BatteryStop, TheMainsRestartLeavesAutoCloseAloneAndStartsOnlyTheProgramItStopped) {
    struct Unguarded : OnBattery {
        Unguarded() {
            keep_node_running_clicked(w);
            w.auto_start.set_tick(1);
            w.auto_close.set_tick(1);
        }
    };
    Unguarded f;
    f.stopped_for_power();
    f.on_mains();
    ASSERT_TRUE(f.countdown_for_power());
    f.countdown_starts();
    ASSERT_EQ(f.w.daemon.node.life.stage(), NodeStage::running);
    f.take_log();
    for (int tick = 0; tick < 3 && f.w.auto_close_timer.running(); ++tick) {
        f.w.auto_close_timer.tick();
    }
    EXPECT_EQ(testing::calls_starting(f.take_log(), "close"), CallLog{}) << "ZV-KOB stays open";

    Unguarded other;
    other.stopped_for_power();
    other.w.qt.chosen.set_tick(1);  // the user chose the QT program meanwhile
    other.on_mains();
    EXPECT_FALSE(other.w.countdown_timer.enabled());
    EXPECT_TRUE(other.history.holds(
        "Back on mains power: ZV-KOB does not start the node again, which it stopped before the "
        "battery ran out: the DAEMON program is no longer the one chosen (the QT program is)."));
    EXPECT_FALSE(other.history.holds(mains_restart_event()));
}

// The node's measured stops are kept in a record; one that is there but
// cannot be read now (a viewer holds it) is never written over: a stop
// measured meanwhile waits, and joins the ten once the record reads.
TEST(BatteryStop, AStopRecordThatCannotBeReadIsNeverWrittenOver) {
    const std::string record_path = "C:\\Users\\node\\AppData\\Local\\ZV-KOB\\ZV-KOB.node-stops";
    testing::LaunchedDaemon f({"KEEP_NODE_RUNNING"});  // nothing read of the record yet
    f.files.unreadable[record_path] = "The process cannot access the file.";
    battery_stop_clicked(f.w);
    f.files.growing_log =
        "2026-12-01T10:01:00Z Shutdown: In progress...\n"
        "2026-12-01T10:04:00Z Shutdown: done\n\n\n"
        "2026-12-02T08:00:00Z Bitcoin Core version v30.0.0 (release build)\n";
    node_progress_tick(f.w.engine);
    EXPECT_FALSE(f.files.text_files.contains(record_path)) << "nothing written over it";
    EXPECT_EQ(f.history.count("ZV-KOB cannot read the node's stop times in " + record_path +
                              ": The process cannot access the file." + stop_record_unread_note),
              1U);
    f.files.unreadable.clear();
    f.files.text_files[record_path] = "1000 60000 -\n";
    f.clock.advance(30'000);
    f.watch(false, true);  // the next reading reads it
    EXPECT_EQ(f.files.text_files[record_path], "1000 60000 -\n1796119440000 180000 -\n");
}

// The watcher runs beside a message box, so its labels stay live; what it
// does beyond reading waits for the box: the battery stop does not stop the
// node, nor Keep the PC Awake hold the PC, until the box has closed.
TEST(BatteryStop, TheWatcherBesideAMessageBoxActsOnlyOnceItHasClosed) {
    OnBattery f;
    f.events.run([&] {  // a handler waits on a message box
        f.power_source.reading = {
            .line = PowerLine::battery, .battery_present = true, .percent = 10};
        for (int reading = 0; reading < 2; ++reading) {
            f.clock.advance(30'000);
            f.set_running(true, true);
            f.events.run_beside([&] { process_watcher_tick(f.w); });
        }
        EXPECT_EQ(f.w.daemon.node.life.stage(), NodeStage::running) << "beside the box";
        EXPECT_EQ(f.w.qt.status.label().text(), "!!! QT RUNNING !!!") << "the labels are live";
    });
    // Read at once as the box closed, the first of a row; the next one stops it.
    f.clock.advance(30'000);
    process_watcher_tick(f.w);
    EXPECT_EQ(f.w.daemon.node.life.stage(), NodeStage::asked_to_stop);

    Running awake("KEEP_AWAKE");
    awake.files.growing_log = "2027-01-15T08:00:00Z init message: Loading block index…\n";
    awake.take_log();
    awake.events.run([&] {
        awake.events.run_beside([&] { node_progress_second(awake.w); });
        EXPECT_EQ(testing::calls_starting(awake.take_log(), "hold awake"), CallLog{});
    });
    EXPECT_EQ(testing::calls_starting(awake.take_log(), "hold awake").size(), 1U);
}

// A node ZV-KOB did not start is asked to stop as one: Ctrl+C without an
// interpreter of ZV-KOB's on its console. Its parent, whatever it is, is
// never ended or sent anything.
TEST(StopNode, NeverEndsOrReachesTheParentOfANodeItDidNotStart) {
    WatchedWindow f;
    f.nodes.start(7000, testing::daemon_image, 3000);  // started from the user's shell
    f.probe.running = {testing::daemon_image};
    process_watcher_tick(f.w);
    ASSERT_EQ(f.w.daemon.node.id(), 7000U);
    f.take_log();
    stop_node_clicked(f.w);
    EXPECT_EQ(f.take_log(), CallLog{"ctrl+c 7000"});
    f.nodes.end(7000, 0, f.clock.now);
    f.probe.running.clear();
    process_watcher_tick(f.w);
    EXPECT_EQ(testing::calls_starting(f.take_log(), "end interpreter"), CallLog{});
    EXPECT_EQ(f.w.daemon.node.life.cause(), StopCause::asked_for);
}

// A node on this copy's data folder, however the folder is written, is this
// copy's or counts as running: never a second start on the same folder.
// Another user's or session's node is never this copy's, but counts.
TEST(StopNode, ANodeOnThisCopysDataFolderRunsHoweverTheFolderIsWritten) {
    WatchedWindow f({{"BLOCKCHAIN_FOLDER_TEXTBOX", "M:\\Chain"}});
    f.files.resolved_folders = {{"M:\\Chain", "\\\\server\\share\\chain"},
                                {"\\\\server\\Share\\Chain\\.", "\\\\server\\share\\chain"}};
    f.nodes.start(7000, testing::daemon_image, 1, R"(bitcoind.exe -datadir=\\server\Share\Chain\.)",
                  10);
    f.probe.running = {testing::daemon_image};
    process_watcher_tick(f.w);
    EXPECT_EQ(f.w.daemon.node.id(), 7000U) << "the mapped drive's network path";

    // Another copy holds the node of this copy's folder: it counts, and that copy guards it.
    WatchedWindow other(
        {{"USE_DAEMON_BAT_TICKBOX", "1"}, {"BLOCKCHAIN_FOLDER_TEXTBOX", "D:\\Chain"}});
    other.nodes.start(9000, testing::daemon_image, 1);
    other.copies.answers[9000] = CopiesAnswer::another_holds_it_here;
    other.probe.running = {testing::daemon_image};
    process_watcher_tick(other.w);
    EXPECT_EQ(other.copies.last_mark, folder_mark(folder_key("d:/chain/")));
    EXPECT_TRUE(other.w.daemon.status.running() && !other.w.launch_button.enabled());
    EXPECT_EQ(other.w.daemon.node.id(), 0U);
    EXPECT_TRUE(
        other.history.holds("bitcoind.exe is running (process 9000: another copy of ZV-KOB "
                            "holds it as its node, set to this copy's data folder)."));
    other.take_log();
    stop_node_clicked(other.w);
    EXPECT_EQ(other.take_log(), CallLog{"message"}) << "stops nothing";
    EXPECT_NE(other.notifier.messages.back().find("(process 9000) is the node of another copy"),
              std::string::npos);

    WatchedWindow users;  // with no data folder the only node no copy holds is adopted
    users.nodes.start(7000, testing::daemon_image, 1);
    users.nodes.processes[7000].owner = ProcessOwner::another_user;
    users.probe.running = {testing::daemon_image};
    process_watcher_tick(users.w);
    EXPECT_TRUE(users.w.daemon.status.running() && users.w.daemon.node.id() == 0U);
    users.nodes.start(7100, testing::daemon_image, 1);
    process_watcher_tick(users.w);
    EXPECT_EQ(users.w.daemon.node.id(), 7100U) << "this user's own, beside it, is";
}

// The stop ZV-KOB asked for belongs to that stop alone.
TEST(StopNode, AnOldRequestIsNotTakenForALaterCrash) {
    Running f;
    f.w.keep_node_running.set_ticked(false);
    stop_node_clicked(f.w);
    f.watch(false, false);
    keep_node_running_clicked(f.w);
    EXPECT_EQ(f.take_log().front(), "save KEEP_NODE_RUNNING=1") << "stored when clicked";
    launch_click(f.w);
    f.watch(false, true);
    f.node_exit_code = 1;  // killed: its log has no shutdown line
    f.watch(false, false);
    EXPECT_TRUE(f.w.countdown_timer.enabled() &&
                f.w.countdown.for_whom() == StartRequest::keep_node_running)
        << "the crash is restarted";
}

// A decision that waited behind a message box is taken on what is true when
// it runs: a node running again by then is not restarted.
TEST(KeepNodeRunning, DecidesOnTheStateOfNowAfterAMessageBox) {
    Running f;
    f.events.run([&] {
        f.watch(false, false);  // the watcher runs beside the box
        // Started again by hand before the box closes, and adopted.
        f.nodes.start(5100, testing::daemon_image, 1, R"(bitcoind.exe -datadir=D:\Chain)",
                      f.clock.now);
        f.probe.running = {testing::daemon_image};
        process_watcher_tick(f.w);
        EXPECT_EQ(f.w.daemon.node.life.stage(), NodeStage::running);
    });
    EXPECT_FALSE(f.w.countdown_timer.enabled()) << "no restart for a node that runs";
}

struct SignOut : Running {
    SignOut() : Running("SAFE_SIGN_OUT") {}
    const CallLog held{"ctrl+c 5000 through 4711",
                       "hold session end: Stopping the node safely\u2026"};

    // A watcher tick's calls beside its queries.
    CallLog watched(bool daemon_runs) {
        set_running(false, daemon_runs);
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
    EXPECT_EQ(f.watched(false), (CallLog{"end interpreter 4711", "release session end",
                                         "close messages", "close main"}))
        << "the interpreter its Ctrl+C left waiting is ended, not the node";
    EXPECT_EQ(f.w.closing.reason(), CloseReason::session_end);
    EXPECT_TRUE(f.notifier.messages.empty());

    // Another copy's node of the same program still runs: it does not hold this copy.
    SignOut mine;
    mine.nodes.start(9000, testing::daemon_image, 1);
    mine.copies.answers[9000] = CopiesAnswer::another_holds_it;
    session_end_requested(mine.w);
    mine.take_log();
    mine.nodes.end(5000, 0, mine.clock.now);
    process_watcher_tick(mine.w);
    EXPECT_EQ(mine.take_log().back(), "close main");
    EXPECT_TRUE(mine.w.daemon.status.stopped()) << "the other copy's node is not this copy's";
}

// Behind the shut-down screen nobody can answer a message box: the hold ends
// on time all the same, and the box is closed.
TEST(SafeSignOut, LetsGoAfterTenMinutesWhileABoxIsOpen) {
    SignOut f;
    session_end_requested(f.w);
    EXPECT_EQ(f.take_log(), f.held);
    f.events.run([&] {
        f.clock.advance(10 * minute);
        EXPECT_EQ(f.watched(true),
                  (CallLog{"release session end", "close messages", "close main"}));
    });
    EXPECT_TRUE(f.history.holds("held ten minutes"));
}

TEST(SafeSignOut, LetsGoWhenWindowsEndsOrCancels) {
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
    EXPECT_EQ(f.w.daemon.node.life.stage(), NodeStage::asked_to_stop)
        << "the node goes on stopping; ZV-KOB stays";
}

TEST(SafeSignOut, DoesNotHoldWhenOffOrWithoutANodeOfThisCopy) {
    Running off;
    EXPECT_TRUE(session_end_requested(off.w));
    EXPECT_EQ(off.take_log(), CallLog{});
    SignOut f;
    f.watch(false, false);
    EXPECT_TRUE(session_end_requested(f.w));
    EXPECT_EQ(f.take_log(), CallLog{});
}

}  // namespace
}  // namespace zvkob
