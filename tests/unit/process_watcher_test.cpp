#include "guardian/flows/process_watcher.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

#include "main_window/starting/countdown_events.hpp"
#include "main_window/event_order.hpp"
#include "main_window/starting/launcher.hpp"
#include "guardian/flows/node_glance_events.hpp"
#include "guardian/flows/node_care.hpp"
#include "watched_window.hpp"
#include "main_window/window_menu.hpp"

namespace zvkob {
namespace {

using testing::CallLog;
using testing::daemon_image;
using testing::qt_image;
using testing::WatchedWindow;

void expect_label(const Label& label, Colour colour, const std::string& text) {
    EXPECT_EQ(label.back_colour(), colour) << label.name();
    EXPECT_EQ(label.text(), text) << label.name();
}

TEST(ProcessWatcher, ShowsBothStatesAndAllowsLaunchOnlyWhileNeitherRuns) {
    WatchedWindow f;
    MainWindow& w = f.w;
    EXPECT_EQ(w.qt.status.state(), RunningState::not_probed);
    expect_label(w.qt.status.label(), colours::cyan, "!!! NOT MONITORING !!!");

    f.probe.running = {daemon_image};
    process_watcher_tick(w);
    EXPECT_EQ(f.take_log(), (CallLog{"probe bitcoin-qt.exe", "probe bitcoind.exe"}));
    expect_label(w.qt.status.label(), colours::red, "!!! QT STOPPED !!!");
    expect_label(w.daemon.status.label(), colours::green, "!!! DAEMON RUNNING !!!");
    EXPECT_FALSE(w.launch_button.enabled());

    f.probe.running = {qt_image};
    process_watcher_tick(w);
    expect_label(w.qt.status.label(), colours::green, "!!! QT RUNNING !!!");
    expect_label(w.daemon.status.label(), colours::red, "!!! DAEMON STOPPED !!!");
    EXPECT_FALSE(w.launch_button.enabled());

    // Nothing runs and no launch mode is chosen: LAUNCH is enabled all the same.
    ASSERT_EQ(w.qt.chosen.tick() + w.daemon.chosen.tick(), 0);
    f.probe.running.clear();
    process_watcher_tick(w);
    EXPECT_TRUE(w.qt.status.stopped() && w.daemon.status.stopped());
    EXPECT_TRUE(w.launch_button.enabled());
}

TEST(ProcessWatcher, ReadsTheNamesAfreshAtEveryTickAndUsesThemVerbatim) {
    WatchedWindow f;
    MainWindow& w = f.w;
    w.qt.image = " Bitcoin-Qt.exe ";
    w.daemon.image = "";
    process_watcher_tick(w);
    EXPECT_EQ(f.take_log(), (CallLog{"probe  Bitcoin-Qt.exe ", "probe "}));
    expect_label(w.daemon.status.label(), colours::red, "!!! DAEMON STOPPED !!!");
}

TEST(ProcessWatcher, AFailedQueryKeepsThatStateAndTheRestOfTheTickGoesOn) {
    WatchedWindow f;
    MainWindow& w = f.w;
    f.watch(true, false);

    f.probe.failures[qt_image] = "The process query failed to run (0x80041033): shutting down";
    f.probe.running = {daemon_image};
    process_watcher_tick(w);
    EXPECT_EQ(f.take_log(), (CallLog{"probe bitcoin-qt.exe", "probe bitcoind.exe"}));
    expect_label(w.qt.status.label(), colours::green, "!!! QT RUNNING !!!");
    EXPECT_NE(w.qt.status.label().tooltip().find("\"bitcoin-qt.exe\""), std::string::npos);
    EXPECT_NE(w.qt.status.label().tooltip().find("(0x80041033): shutting down"), std::string::npos)
        << w.qt.status.label().tooltip();
    expect_label(w.daemon.status.label(), colours::green, "!!! DAEMON RUNNING !!!");
    EXPECT_EQ(w.daemon.status.label().tooltip(), "");
    EXPECT_FALSE(w.launch_button.enabled());

    // The next tick asks again; once the query answers, the reason goes.
    f.probe.failures.clear();
    f.probe.running.clear();
    process_watcher_tick(w);
    expect_label(w.qt.status.label(), colours::red, "!!! QT STOPPED !!!");
    EXPECT_EQ(w.qt.status.label().tooltip(), "");
    EXPECT_TRUE(w.launch_button.enabled());
}

// Nothing is started on a guess while the query fails, and the user is told
// why: at each LAUNCH, and once per failure spell at the zero step.
TEST(ProcessWatcher, NothingIsLaunchedOnAGuessWhenTheQueryFailsAndTheUserIsTold) {
    WatchedWindow f({{"USE_QT_BAT_TICKBOX", "1"}});
    MainWindow& w = f.w;
    f.probe.failures = {{qt_image, "The process query failed to connect (0x80041003)."},
                        {daemon_image, "The process query failed to connect (0x80041003)."}};
    f.watch(false, false);
    EXPECT_EQ(w.qt.status.state(), RunningState::not_probed);
    expect_label(w.qt.status.label(), colours::cyan, "!!! NOT MONITORING !!!");
    EXPECT_TRUE(w.launch_button.enabled()) << "nothing is known to run";

    launch_click(w);
    start_stop_click(w);
    const auto zero_steps = [&](int count) {
        for (int tick = 0; tick < count; ++tick) {
            countdown_tick(w);
        }
    };
    zero_steps(11 + 60);
    EXPECT_EQ(w.countdown_display.text(), "-- --") << "two zero steps came";
    EXPECT_EQ(f.take_log(), (CallLog{"message", "message"})) << "and started nothing";
    EXPECT_EQ(f.notifier.messages[0],
              "ZV-KOB cannot tell whether the QT and DAEMON programs run.\n\nThe process query "
              "failed to connect (0x80041003).\n\nSo LAUNCH starts nothing. ZV-KOB asks again "
              "twice a second; press LAUNCH once the status shows again.");
    EXPECT_TRUE(f.notifier.messages[1].starts_with(
        "ZV-KOB cannot tell whether the QT and DAEMON programs run.\n\nThe process query"));

    f.probe.failures.clear();
    f.watch(true, false);
    f.probe.failures[qt_image] = "The process query did not answer within 5 seconds.";
    f.watch(true, false);
    zero_steps(60);
    EXPECT_EQ(f.take_log(), CallLog{"message"}) << "a new failure spell is told again";
    EXPECT_NE(f.notifier.messages[2].find("whether the QT program runs.\n\nThe process query did "
                                          "not answer within 5 seconds."),
              std::string::npos);
}

// Whose a process is may change while it runs: another copy closes, or opens
// again and takes it. Verdicts are asked again at each news from another copy
// and every minute. In between, while the query counts the processes this
// copy knows, the process list is not taken again: the tick is the queries.
TEST(ProcessWatcher, AsksAgainWhoseAProcessIsAtNewsAndEveryMinuteAndListsOnlyThen) {
    WatchedWindow f({{"BLOCKCHAIN_FOLDER_TEXTBOX", "D:\\Chain"}});
    f.nodes.start(9000, daemon_image, 1);  // Windows shows no command line
    f.copies.answers[9000] = CopiesAnswer::another_holds_it;
    f.probe.running = {daemon_image};
    const auto tick = [&] {
        f.clock.advance(500);
        process_watcher_tick(f.w);
    };
    tick();
    EXPECT_TRUE(f.w.daemon.status.stopped()) << "another copy's node";
    const int listings = f.nodes.listings;
    for (int i = 0; i < 20; ++i) {
        tick();
    }
    EXPECT_EQ(f.nodes.listings, listings) << "nothing changed";
    EXPECT_EQ(f.copies.questions, 1);

    f.copies.answers.clear();  // that copy closes, and says so
    ++f.copies.news_count;
    tick();
    EXPECT_TRUE(f.w.daemon.status.running()) << "held by no copy now, it counts";
    EXPECT_EQ(f.w.daemon.node.id(), 0U) << "but its data folder cannot be told";
    f.copies.answers[9000] = CopiesAnswer::another_holds_it;  // it opened again, unheard
    tick();
    EXPECT_TRUE(f.w.daemon.status.running());
    f.clock.advance(60'000);
    tick();
    EXPECT_TRUE(f.w.daemon.status.stopped()) << "asked again a minute later";

    f.nodes.start(9100, daemon_image, 1);  // the query counts one more
    const int before = f.nodes.listings;
    tick();
    EXPECT_EQ(f.nodes.listings, before + 1);
    EXPECT_TRUE(f.w.daemon.status.running());

    // This copy's node, held by its handle, needs no list to tell its end.
    WatchedWindow own;
    own.watch(true, false);
    const int held = own.nodes.listings;
    own.watch(true, false);
    own.watch(false, false);
    EXPECT_EQ(own.nodes.listings, held);
    EXPECT_EQ(own.w.qt.node.life.stage(), NodeStage::stopped);
}

// Another user's node counts as running but is not this copy's; this user's
// own beside it is. The history tells each change once, and how long a
// program this copy did not hold ran.
TEST(ProcessWatcher, TellsTheStoryOfANodeBesideAnotherUsersOne) {
    WatchedWindow f;  // with no data folder the only node no copy holds is adopted
    f.nodes.start(7000, daemon_image, 1);
    f.nodes.processes[7000].owner = ProcessOwner::another_user;
    f.probe.running = {daemon_image};
    process_watcher_tick(f.w);
    f.nodes.start(7100, daemon_image, 1);
    process_watcher_tick(f.w);
    EXPECT_TRUE(f.history.holds("The DAEMON program bitcoind.exe that runs is this copy's node ("));
    f.nodes.end(7100, 0, f.clock.now);
    process_watcher_tick(f.w);
    EXPECT_TRUE(f.history.holds("; another bitcoind.exe still runs."));
    f.clock.advance(3 * 60'000);
    f.nodes.end(7000, 0, f.clock.now);
    f.probe.running.clear();
    process_watcher_tick(f.w);
    EXPECT_TRUE(f.history.holds("The DAEMON program bitcoind.exe stopped after 3 min."));

    // A node Windows will not let this copy hold is followed by its number.
    f.nodes.start(7200, daemon_image, 1);
    f.nodes.processes[7200].refusal = "Access is denied.";
    f.probe.running = {daemon_image};
    process_watcher_tick(f.w);
    EXPECT_TRUE(node_claim(f.w.engine, 7200).has_value()) << "other copies asking are told it is held";
    EXPECT_EQ(node_claim(f.w.engine, 7000), std::nullopt);
    f.clock.advance(2 * 60'000);
    f.nodes.processes.erase(7200);
    f.probe.running.clear();
    process_watcher_tick(f.w);
    EXPECT_TRUE(f.history.holds("stopped after 2 min (process 7200, exit code unknown)."));
}

// A probe that breaks its promise and throws.
struct ThrowingProbe : ProcessProbe {
    ProbeAnswer is_running(std::string_view) override {
        throw std::runtime_error("the query service went away");
    }
};

TEST(ProcessWatcher, AProbeThatThrowsCountsAsAFailedQuery) {
    testing::MainWindowFixture f;
    ThrowingProbe throwing;
    MainWindow w(f.services_with(throwing), "ZV-KOB");
    load_main_window(w);
    EXPECT_NO_THROW(process_watcher_tick(w));
    EXPECT_EQ(w.daemon.status.state(), RunningState::not_probed);
    EXPECT_NE(w.daemon.status.label().tooltip().find("the query service went away"),
              std::string::npos);
}

}  // namespace
}  // namespace zvkob

namespace zvkob {
namespace {

// While "Show the Node's Progress" is ticked and this copy's node runs, its
// own log is read every two seconds and its sync shows in the status label's
// tooltip, on the taskbar button and, at each change, in the history.
TEST(NodeAtAGlance, ShowsWhatTheLogSaysOnlyWhileTicked) {
    testing::LaunchedDaemon f;
    f.files.growing_log =
        "2027-01-15T07:59:00Z UpdateTip: new best=00ab height=800000 version=0x20000000 "
        "log2_work=95.6 tx=1 date='2026-01-15 07:59:00' progress=0.900000 cache=1.0MiB(1txo)\n";
    f.background.holding = true;
    node_progress_tick(f.w.engine);
    f.events.run([&] {  // the reading comes back while a handler waits on a message box
        f.background.release_all();
        EXPECT_EQ(f.w.daemon.status.label().tooltip(), "") << "not from inside the box's loop";
    });
    f.background.holding = false;
    EXPECT_EQ(f.files.paths_read.back(), "D:\\Chain\\debug.log");
    const std::string tip = f.w.daemon.status.label().tooltip();
    EXPECT_NE(tip.find("Catching up · height 800,000"), std::string::npos) << tip;
    EXPECT_NE(tip.find("90.0 %"), std::string::npos) << tip;
    EXPECT_EQ(f.w.daemon.status.label().text(), "!!! DAEMON RUNNING !!!") << "the label stays";
    ASSERT_FALSE(f.taskbar.shown.empty());
    EXPECT_EQ(f.taskbar.shown.back().mark, TaskbarMark::normal);
    EXPECT_EQ(f.taskbar.shown.back().value, 900);
    EXPECT_TRUE(f.history.holds("catching up from height 800,000"));

    show_progress_clicked(f.w);  // off: nothing read, nothing shown
    const std::size_t reads = f.files.paths_read.size();
    node_progress_tick(f.w.engine);
    EXPECT_EQ(f.files.paths_read.size(), reads);
    EXPECT_EQ(f.w.daemon.status.label().tooltip(), "");
    EXPECT_EQ(f.taskbar.shown.back().mark, TaskbarMark::none);
    EXPECT_EQ(f.store.values["NODE_PROGRESS"], "0");
}

}  // namespace
}  // namespace zvkob

namespace zvkob {
namespace {

using testing::node_cookie;

// A DAEMON node of this copy with its progress shown, started at 08:00,
// whose log says it catches up and where its RPC listens.
const std::string run_at_eight =
    "\n\n2027-01-15T08:00:00Z Bitcoin Core version v29.0.0 (release build)\n"
    "2027-01-15T08:00:00Z Binding RPC on address ::1 port 18444\n"
    "2027-01-15T08:00:00Z Binding RPC on address 127.0.0.1 port 18444 failed.\n"
    "2027-01-15T08:00:00Z UpdateTip: new best=00ab height=800000 version=0x20000000 "
    "log2_work=95.6 tx=1 date='2026-01-15 07:59:00' progress=0.900000 cache=1.0MiB(1txo)\n";
const std::string cookie_line =
    "2027-01-15T08:00:01Z Generated RPC authentication cookie D:\\Chain\\.cookie\n";

struct AskedNode : testing::WatchedWindow {
    explicit AskedNode(const std::string& conf = "", const std::string& node_log = run_at_eight)
        : WatchedWindow(testing::daemon_on_d_chain(), Load{}) {
        files.text_files["D:\\Chain\\bitcoin.conf"] = conf;
        files.text_files["D:\\Chain\\.cookie"] = node_cookie;
        files.growing_log = node_log;
        node_command_line = "C:\\Bitcoin\\bitcoind.exe -datadir=D:\\Chain";
        launch_daemon();
        node_progress_tick(w.engine);
    }
    std::string tip() const { return w.daemon.status.label().tooltip(); }
    bool tip_holds(std::string_view text) const { return tip().find(text) != std::string::npos; }
    // The log says the node wrote its cookie, and its RPC answers so from now on.
    void answering(const std::string& chain, const std::string& network = R"({"connections":6})") {
        files.growing_log += cookie_line;
        node_progress_tick(w.engine);
        http.respond = testing::node_answering(
            {{"getblockchaininfo", chain}, {"getnetworkinfo", network}, {"listwallets", "[]"}});
    }
    // Watcher ticks every `step_ms` (and the log read at each) for `span_ms`.
    void run_for(std::int64_t span_ms, std::int64_t step_ms = 20'000) {
        for (std::int64_t run = 0; run < span_ms; run += step_ms) {
            clock.advance(std::min(step_ms, span_ms - run));
            watch(false, true);
            node_progress_tick(w.engine);
        }
    }
};

std::string chain_info(std::int64_t tip_time_s, bool in_ibd = true) {
    return R"({"chain":"main","blocks":850000,"headers":850100,"verificationprogress":0.97,)"
           R"("time":)" +
           std::to_string(tip_time_s) + R"(,"initialblockdownload":)" +
           (in_ibd ? "true" : "false") + R"(,"size_on_disk":600000000000,"pruned":false,)" +
           R"j("warnings":["Unknown new rules activated (versionbit 28)"]})j";
}

// The log comes first and says where the RPC listens and that the node wrote
// its cookie; the node's RPC is then asked every five seconds, its answers
// shown in place of the log's, and the log shown again (saying why) when the
// RPC refuses ZV-KOB.
TEST(NodeAtAGlance, AsksTheNodesRpcEveryFiveSecondsAndShowsItInPlaceOfTheLog) {
    AskedNode f;
    f.http.respond = testing::node_answering(
        {{"getblockchaininfo", R"({"code":-28,"message":"Loading block index…"})"}});
    f.watch(false, true);
    EXPECT_NE(f.tip().find("its RPC: waiting for the node's log to name its new cookie"),
              std::string::npos)
        << f.tip();
    f.files.growing_log += cookie_line;
    node_progress_tick(f.w.engine);
    EXPECT_TRUE(f.http.bodies.empty()) << "the cookie there may be an earlier run's";
    f.clock.advance(5'000);
    f.watch(false, true);
    EXPECT_NE(f.tip().find("Starting · Loading block index…\nFrom the node's RPC"),
              std::string::npos)
        << f.tip();
    EXPECT_EQ(f.http.addresses, std::vector<std::string>{"::1"}) << "not where another program is";
    EXPECT_EQ(f.http.authorizations.front().rfind("Basic ", 0), 0U);
    EXPECT_FALSE(f.w.daemon.node.rpc().answers()) << "warming up: a stop goes the other way";

    f.http.respond =
        testing::node_answering({{"getblockchaininfo", chain_info(f.clock.now / 1000 - 3 * 86'400)},
                                 {"getnetworkinfo", R"({"connections":8,"warnings":""})"},
                                 {"listwallets", R"(["main wallet"])"}});
    f.clock.advance(4'999);
    f.watch(false, true);
    EXPECT_EQ(f.http.bodies.size(), 1U) << "nothing faster than every five seconds";
    f.clock.advance(1);
    f.watch(false, true);
    EXPECT_NE(f.tip().find("Catching up · height 850,000 of ~850,100 · 97.0 % · 3 days behind · "
                           "8 peers\nThe node warns: Unknown new rules activated (versionbit "
                           "28)\nFrom the node's RPC"),
              std::string::npos)
        << f.tip();
    const NodeRpc& rpc = f.w.daemon.node.rpc();
    EXPECT_TRUE(rpc.answers_with_wallets());
    EXPECT_EQ(rpc.wallets(), std::vector<std::string>{"main wallet"});
    EXPECT_EQ(rpc.chain_facts().size_on_disk, 600'000'000'000);
    EXPECT_EQ(rpc.warnings(), "Unknown new rules activated (versionbit 28)");
    const auto wallet_questions = [&f] {
        return std::count_if(f.http.bodies.begin(), f.http.bodies.end(), [](const auto& body) {
            return body.find("listwallets") != std::string::npos;
        });
    };
    f.clock.advance(5'000);
    f.watch(false, true);
    EXPECT_EQ(wallet_questions(), 1) << "the wallets are asked once a minute";
    EXPECT_TRUE(f.history.holds("The node's RPC answers on port 18444"));
    EXPECT_EQ(f.history.count("The node warns: Unknown new rules"), 1U);
    const std::size_t told = f.history.events.size();
    f.files.growing_log += "2027-01-15T08:00:00Z UpdateTip: new best=00ac height=800001\n";
    node_progress_tick(f.w.engine);
    EXPECT_EQ(f.history.events.size(), told) << "the log's changes are not told meanwhile";

    f.http.respond = testing::node_answering({{"getblockchaininfo", "HTTP 401"}});
    for (int poll = 0; poll < 3; ++poll) {
        f.clock.advance(60'000);
        f.watch(false, true);
    }
    EXPECT_NE(f.tip().find("Catching up · height 800,001"), std::string::npos) << f.tip();
    EXPECT_NE(f.tip().find("From the node's log; its RPC: the node refused ZV-KOB's credentials"),
              std::string::npos)
        << f.tip();
    EXPECT_EQ(f.history.count("the node refused ZV-KOB's credentials"), 1U) << "told once";
    EXPECT_EQ(f.history.count(node_cookie.substr(11, 16)), 0U) << "the cookie is never written";
}

// "initialblockdownload" stays false once the node left its first download:
// the tip's age decides. A PC that slept nine hours wakes to a tip nine
// hours old; the node is asked again at once and the PC held awake while it
// catches up. Windows' event of the same wake tells nothing more.
TEST(NodeAtAGlance, TheTipsAgeDecidesAndAWakeAsksTheNodeAgainAtOnce) {
    AskedNode f;
    keep_awake_clicked(f.w);
    f.answering(chain_info(f.clock.now / 1000 - 60, false));
    f.run_for(5'000);
    EXPECT_TRUE(f.tip_holds("Synced · height 850,000 · 6 peers")) << f.tip();
    f.w.progress_timer.tick();
    EXPECT_EQ(testing::calls_starting(f.take_log(), "hold awake"), testing::CallLog{});

    f.clock.advance(9 * 3'600'000);  // the PC sleeps
    const std::size_t asked = f.http.bodies.size();
    f.watch(false, true);
    EXPECT_GT(f.http.bodies.size(), asked) << "asked at once";
    EXPECT_TRUE(f.history.holds(
        "The PC woke from sleep after 9 h: ZV-KOB asks the node for its state again."));
    EXPECT_TRUE(
        f.tip_holds("Catching up · height 850,000 of ~850,100 · 97.0 % · 9 hours behind "
                    "· 6 peers"))
        << f.tip();
    f.w.progress_timer.tick();
    EXPECT_EQ(testing::calls_starting(f.take_log(), "hold awake"),
              testing::CallLog{"hold awake: ZV-KOB keeps this PC awake while the node catches up "
                               "(block 850,000)"});
    EXPECT_TRUE(f.history.holds("The node is catching up from height 850,000."));
    pc_resumed(f.w);
    EXPECT_EQ(f.history.count("The PC woke from sleep"), 1U) << "one wake, told once";
    f.clock.advance(59'000);
    f.watch(false, true);
    EXPECT_EQ(f.history.count("The PC woke from sleep"), 1U) << "59 s: a slow tick, no sleep";
}

// A node stalled with peers: its RPC answers the same height, its log says
// nothing new for an hour. The log's stuck rule holds while the RPC answers.
TEST(NodeAtAGlance, TheLogsStuckRulesHoldWhileTheRpcAnswers) {
    AskedNode f;
    f.files.growing_log +=
        "2027-01-15T08:00:00Z UpdateTip: new best=00cd height=850000 version=0x20000000 "
        "log2_work=95.6 tx=1 date='2027-01-15 07:59:00' progress=1.000000 cache=1.0MiB(1txo)\n";
    f.answering(chain_info(f.clock.now / 1000 - 60, false));
    f.run_for(60 * 60'000 - 1'000);  // to 08:59:59; the log's last line came at 08:00:00
    EXPECT_TRUE(f.tip_holds("Synced · height 850,000")) << f.tip();
    f.run_for(1'000);
    EXPECT_TRUE(f.tip_holds("No line in the node's log for 1 h · height 850,000\n")) << f.tip();
    EXPECT_TRUE(f.tip_holds("\nFrom the node's log and RPC")) << f.tip();
    EXPECT_TRUE(f.history.holds("No line in the node's log since 09:00 (1 h); height 850,000."));
    EXPECT_EQ(testing::calls_starting(f.take_log(), "flash"), testing::CallLog{"flash"});
}

// A node that answers nothing but "busy" for five minutes gives way to its
// log, which the tooltip says; a warm-up stays the node's own however long.
TEST(NodeAtAGlance, ABusyRpcGivesWayToTheLogAfterFiveMinutes) {
    AskedNode f;
    f.answering(chain_info(f.clock.now / 1000 - 60, false));
    f.run_for(5'000);
    f.http.respond = testing::node_answering({{"getblockchaininfo", "HTTP 503"}});
    f.run_for(5'000);  // the first "busy", at 08:00:10
    f.run_for(5 * 60'000 - 1, 10'000);
    EXPECT_TRUE(f.tip_holds("Synced · height 850,000 · 6 peers\n")) << f.tip();
    EXPECT_TRUE(f.tip_holds("\nFrom the node's RPC")) << f.tip();
    f.run_for(1);
    EXPECT_TRUE(f.tip_holds("Catching up · height 800,000 · 90.0 %")) << f.tip();
    EXPECT_TRUE(f.tip_holds("\nFrom the node's log; the node's RPC is busy since 09:00"))
        << f.tip();

    f.http.respond = testing::node_answering(
        {{"getblockchaininfo", R"({"code":-28,"message":"Verifying blocks…"})"}});
    f.run_for(60 * 60'000, 30'000);
    EXPECT_TRUE(f.tip_holds("Starting · Verifying blocks…\nFrom the node's RPC")) << f.tip();
}

// The log of a node that crashed moments before this start, and was started
// again at once, ends with that run's cookie line: its cookie and port are
// dead. Only a cookie line of this run opens the way.
TEST(NodeAtAGlance, AsksOnlyOnACookieLineOfThisRun) {
    AskedNode f("",
                "\n\n2027-01-15T07:59:38Z Bitcoin Core version v29.0.0 (release build)\n"
                "2027-01-15T07:59:38Z Binding RPC on address ::1 port 18444\n"
                "2027-01-15T07:59:38Z Generated RPC authentication cookie D:\\Chain\\.cookie\n"
                "2027-01-15T07:59:58Z Loading block index...\n");
    f.http.respond = testing::node_answering({{"getblockchaininfo", "{}"}});
    f.run_for(30'000, 5'000);
    EXPECT_TRUE(f.http.bodies.empty()) << "the earlier run's cookie is not this node's";
    EXPECT_TRUE(f.tip_holds("its RPC: waiting for the node's log to name its new cookie"))
        << f.tip();
    f.files.growing_log +=
        "\n\n2027-01-15T08:00:00Z Bitcoin Core version v29.0.0 (release build)\n"
        "2027-01-15T08:00:00Z Binding RPC on address ::1 port 18445\n" +
        cookie_line;
    f.run_for(10'000, 5'000);
    ASSERT_FALSE(f.http.bodies.empty());
    EXPECT_EQ(f.history.count("The node's RPC answers on port 18445"), 1U);
}

TEST(NodeAtAGlance, ANodeWithoutRpcIsFollowedByItsLogAndNeverAsked) {
    AskedNode f("server=0\n");
    f.watch(false, true);
    f.clock.advance(60'000);
    f.watch(false, true);
    EXPECT_TRUE(f.http.bodies.empty());
    EXPECT_NE(f.tip().find("Catching up · height 800,000"), std::string::npos) << f.tip();
    EXPECT_NE(f.tip().find("the node's RPC is off: progress from its log (the node runs with "
                           "server=0)"),
              std::string::npos)
        << f.tip();
    EXPECT_EQ(f.history.count("The node's RPC is off"), 1U);
}

}  // namespace
}  // namespace zvkob
