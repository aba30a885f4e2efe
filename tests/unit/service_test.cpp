// The service that starts the node before sign-in: its rules, the elevated
// helper's all-or-nothing setup, the guard the service runs, and the window's
// command. The Win32 calls themselves are proven in tests/platform.
#include <gtest/gtest.h>

#include "core/service/program_arguments.hpp"
#include "core/service/service_rules.hpp"
#include "core/service/setup_result.hpp"
#include "fakes.hpp"
#include "main_window/before_sign_in.hpp"
#include "main_window/beside_the_service.hpp"
#include "main_window/event_order.hpp"
#include "main_window/history_beside_the_service.hpp"
#include "main_window/window_menu.hpp"
#include "service/guarding/service_channel.hpp"
#include "service/guarding/service_guard.hpp"
#include "service/setup/service_setup.hpp"

namespace zvkob {
namespace {

using testing::CallLog;
using testing::FakeServices;
using testing::MainWindowFixture;

TEST(ServiceRules, WaitAtShutDownIsTwiceTheStopAndAMinuteWithinThreeAndTwentyMinutes) {
    const auto wait_for = [](std::int64_t stop_ms) {
        return shutdown_wait_ms({stop_ms, ExpectedStop::Basis::measured, stop_ms});
    };
    EXPECT_EQ(wait_for(3 * 60'000), 7 * 60'000);  // a measured stop of three minutes
    EXPECT_EQ(wait_for(60'000), 3 * 60'000);      // the floor, reached exactly
    EXPECT_EQ(wait_for(60'001), 3 * 60'000 + 2);
    EXPECT_EQ(wait_for(0), 3 * 60'000);
    EXPECT_EQ(wait_for(570'000), 20 * 60'000);  // the ceiling, reached exactly
    EXPECT_EQ(wait_for(570'001), 20 * 60'000);
    // None measured: the default of a node catching up, which the ceiling holds.
    EXPECT_EQ(shutdown_wait_ms(NodeStopTimes().expected(false)), 20 * 60'000);
}

TEST(ServiceRules, NameAndCommandLineQuoteWhatTheyHold) {
    EXPECT_EQ(service_name("BTC node", "ann"), "ZV-KOB BTC node (ann)");
    EXPECT_EQ(service_command_line("C:\\Program Files\\ZV-KOB\\ZV-KOB.exe"),
              "\"C:\\Program Files\\ZV-KOB\\ZV-KOB.exe\" --service");
}

TEST(ServiceRules, TheNodeIsStartedByItsOwnLineOfTheBatchFileOrNotAtAll) {
    const std::string line =
        "call \"C:\\Program Files\\Bitcoin\\daemon\\bitcoind.exe\" -datadir=D:\\BTC";
    const ServiceNodeCommand written = service_node_command(line + "\r\n", "bitcoind.exe");
    EXPECT_EQ(written.command_line,
              "\"C:\\Program Files\\Bitcoin\\daemon\\bitcoind.exe\" -datadir=D:\\BTC");
    EXPECT_TRUE(written.refusal.empty());
    EXPECT_EQ(service_node_command("@echo off\r\nrem node\r\n:start\r\n" + line, "bitcoind.exe")
                  .command_line,
              written.command_line);
    for (const std::string more : {"set BITCOIN_X=1\r\n", "cd /d D:\\BTC\r\n", "start x.exe\r\n"}) {
        const ServiceNodeCommand refused = service_node_command(more + line, "bitcoind.exe");
        EXPECT_TRUE(refused.command_line.empty()) << more;
        EXPECT_NE(refused.refusal.find("does more than start the node"), std::string::npos);
    }
    EXPECT_EQ(service_node_command("", "bitcoind.exe").refusal, "the batch file starts no program");
}

TEST(ProgramArguments, OnlyTheServicesOwnAreReadAndAnythingMalformedOpensTheWindow) {
    const std::string sid = "S-1-5-21-1-2-3-1001";
    using Args = std::vector<std::string>;
    EXPECT_EQ(program_arguments(Args{}).role, ProgramRole::window);
    EXPECT_EQ(program_arguments(Args{"--service"}).role, ProgramRole::service);
    const ProgramArguments install = program_arguments(Args{"--install-service", sid, "420000"});
    EXPECT_EQ(install.role, ProgramRole::install_service);
    EXPECT_EQ(install.user_sid, sid);
    EXPECT_EQ(install.shutdown_wait_ms, 420'000);
    EXPECT_EQ(program_arguments(Args{"--remove-service", sid}).role, ProgramRole::remove_service);
    for (const Args& malformed :
         {Args{"--service", "x"}, Args{"--install-service", sid}, Args{"--install-service", sid, "0"},
          Args{"--install-service", sid, "7x"}, Args{"--repair-service", "ann", "420000"},
          Args{"--remove-service", "S-1-5 & calc"}, Args{"/service"}, Args{"-datadir=D:\\x"}}) {
        EXPECT_EQ(program_arguments(malformed).role, ProgramRole::window) << malformed[0];
    }
    EXPECT_EQ(helper_arguments(ProgramRole::install_service, sid, 420'000),
              "--install-service " + sid + " 420000");
    EXPECT_EQ(helper_arguments(ProgramRole::remove_service, sid, 0), "--remove-service " + sid);
}

TEST(SetupResult, TheHelpersExitCodeCarriesItsStepAndWindowsCode) {
    const SetupResult refused{SetupStep::start_failed, 1069};
    const SetupResult read = setup_result_of(setup_exit_code(refused));
    EXPECT_EQ(read.step, SetupStep::start_failed);
    EXPECT_EQ(read.windows_error, 1069U);
    EXPECT_TRUE(setup_result_of(0).done());
    // A helper that was ended (or crashed) did not finish: said as a refusal.
    EXPECT_EQ(setup_result_of(0xC0000005).step, SetupStep::service_manager);
    EXPECT_NE(setup_result_words(read, true, "The service did not start due to a logon failure.")
                  .find("Windows said: The service did not start due to a logon failure."),
              std::string::npos);
}

// The service manager and the account, each call logged.
class FakeServiceManager : public ServiceManager {
public:
    explicit FakeServiceManager(CallLog& log) : log_(log) {}
    std::optional<ServiceRun> installed;
    std::optional<WindowsRefusal> start_refusal;
    bool granted_noted = false;
    std::string password_given;

    std::optional<ServiceRun> state(std::string_view) override { return installed; }
    std::optional<WindowsRefusal> install(const ServiceSetup& setup,
                                          const SecretPassword& password) override {
        log_.push_back("install " + setup.name + " as " + setup.account + ": " +
                       setup.command_line + ", waits " + std::to_string(setup.shutdown_wait_ms));
        password_given = narrow_password(password);
        installed = ServiceRun::stopped;
        return std::nullopt;
    }
    std::optional<WindowsRefusal> repair(const ServiceSetup& setup) override {
        log_.push_back("repair " + setup.command_line);
        return std::nullopt;
    }
    std::optional<WindowsRefusal> start(std::string_view) override {
        log_.push_back("start");
        return start_refusal;
    }
    std::optional<WindowsRefusal> stop_with(std::string_view, std::uint32_t control,
                                            std::int64_t) override {
        log_.push_back("control " + std::to_string(control));
        installed = ServiceRun::stopped;
        return std::nullopt;
    }
    std::optional<WindowsRefusal> remove(std::string_view) override {
        log_.push_back("remove");
        installed.reset();
        return std::nullopt;
    }
    void note_right_granted(std::string_view) override { granted_noted = true; }
    bool right_was_granted(std::string_view) override { return granted_noted; }

private:
    static std::string narrow_password(const SecretPassword& password) {
        return {password.text().begin(), password.text().end()};
    }
    CallLog& log_;
};

class FakeServiceAccount : public ServiceAccount {
public:
    explicit FakeServiceAccount(CallLog& log) : log_(log) {}
    std::string typed_account = "PC\\ann";
    std::optional<std::wstring> typed_password = L"correct horse";
    PasswordCheck check = PasswordCheck::accepted;
    bool has_right = false;

    std::optional<AccountName> account_of(std::string_view sid) override {
        return sid == "S-1-5-21-1-2-3-1001" ? std::optional(AccountName{"PC", "ann"})
                                            : std::nullopt;
    }
    std::optional<std::string> sid_of(std::string_view account) override {
        if (account == "PC\\ann") {
            return "S-1-5-21-1-2-3-1001";
        }
        return account == "PC\\admin" ? std::optional<std::string>("S-1-5-21-1-2-3-500")
                                      : std::nullopt;
    }
    std::optional<GivenCredentials> ask_password(const AccountName& account,
                                                 std::string_view) override {
        log_.push_back("prompt for " + account.qualified());
        if (!typed_password) {
            return std::nullopt;
        }
        return GivenCredentials{typed_account, SecretPassword(*typed_password)};
    }
    PasswordCheck check_password(const AccountName&, const SecretPassword&,
                                 WindowsRefusal&) override {
        return check;
    }
    std::optional<bool> has_service_logon_right(std::string_view) override { return has_right; }
    std::optional<WindowsRefusal> grant_service_logon_right(std::string_view) override {
        log_.push_back("grant");
        has_right = true;
        return std::nullopt;
    }
    std::optional<WindowsRefusal> revoke_service_logon_right(std::string_view) override {
        log_.push_back("revoke");
        has_right = false;
        return std::nullopt;
    }

private:
    CallLog& log_;
};

struct SetupFixture : ::testing::Test {
    CallLog log;
    FakeServiceManager manager{log};
    FakeServiceAccount account{log};
    SetupResult run(ProgramRole role) {
        const SetupRequest request{{role, "S-1-5-21-1-2-3-1001", 420'000},
                                   "BTC",
                                   "C:\\Nodes\\ZV-KOB\\BTC.exe"};
        return run_setup(request, manager, account);
    }
};

TEST_F(SetupFixture, InstallsAsTheUsersOwnAccountWithItsPasswordAndTheShutDownWait) {
    EXPECT_TRUE(run(ProgramRole::install_service).done());
    EXPECT_EQ(log, (CallLog{"prompt for PC\\ann", "grant",
                            "install ZV-KOB BTC (ann) as PC\\ann: \"C:\\Nodes\\ZV-KOB\\BTC.exe\" "
                            "--service, waits 420000",
                            "start"}));
    EXPECT_EQ(manager.password_given, "correct horse");
    EXPECT_TRUE(manager.granted_noted);
}

TEST_F(SetupFixture, NothingIsLeftInstalledOrGrantedWhenAStepFails) {
    account.typed_account = "PC\\admin";  // the administrator who gave consent typed their own
    EXPECT_EQ(run(ProgramRole::install_service).step, SetupStep::other_account);
    account.typed_account = "PC\\ann";
    account.check = PasswordCheck::wrong;
    EXPECT_EQ(run(ProgramRole::install_service).step, SetupStep::wrong_password);
    account.check = PasswordCheck::no_password;
    EXPECT_EQ(run(ProgramRole::install_service).step, SetupStep::no_password);
    account.typed_password.reset();
    EXPECT_EQ(run(ProgramRole::install_service).step, SetupStep::password_cancelled);
    EXPECT_EQ(log, CallLog(4, "prompt for PC\\ann"));
    EXPECT_FALSE(manager.installed);

    // Windows cannot start it (a logon failure): taken away again, the right with it.
    log.clear();
    account.check = PasswordCheck::accepted;
    account.typed_password = L"correct horse";
    manager.start_refusal = WindowsRefusal{1069, "The service did not start due to a logon failure."};
    const SetupResult failed = run(ProgramRole::install_service);
    EXPECT_EQ(failed.step, SetupStep::start_failed);
    EXPECT_EQ(failed.windows_error, 1069U);
    EXPECT_FALSE(manager.installed);
    EXPECT_FALSE(account.has_right);
    EXPECT_EQ(log.back(), "revoke");
}

TEST_F(SetupFixture, RemovalHandsTheNodeBackAndRevokesOnlyTheRightZvKobGranted) {
    account.has_right = true;  // the account had it before ZV-KOB
    ASSERT_TRUE(run(ProgramRole::install_service).done());
    manager.installed = ServiceRun::running;
    log.clear();
    EXPECT_TRUE(run(ProgramRole::remove_service).done());
    EXPECT_EQ(log, (CallLog{"control 128", "remove"}));
    EXPECT_TRUE(account.has_right);

    account.has_right = false;
    ASSERT_TRUE(run(ProgramRole::install_service).done());
    log.clear();
    EXPECT_TRUE(run(ProgramRole::remove_service).done());
    EXPECT_EQ(log, (CallLog{"remove", "revoke"}));  // stopped already: nothing to hand back
    EXPECT_EQ(run(ProgramRole::remove_service).step, SetupStep::not_installed);
}

// The service's status as the service manager is told it.
class FakeServiceStatus : public ServiceStatus {
public:
    std::vector<std::string> told;
    void running() override { told.emplace_back("running"); }
    void stop_pending(std::uint32_t checkpoint, std::uint32_t) override {
        told.push_back("stop pending " + std::to_string(checkpoint));
    }
    void stopped(std::uint32_t) override { told.emplace_back("stopped"); }
};

struct ServiceGuardFixture : FakeServices, ::testing::Test {
    static constexpr const char* batch = "C:\\Nodes\\ZV-KOB\\ZVKOB-D.BAT";
    GivenFolderPicker folders;
    FakeServiceStatus status;
    ServiceGuard guard{{history, clock,    windows, files,         records, power, power_source,
                        link_cost, priority, background, events, http, listeners, nodes,
                        wallets, store,    folder_picker, probe, copies, clipboard},
                       runner,
                       status,
                       {"BTC", "ZV-KOB BTC (ann)"}};

    ServiceGuardFixture() {
        store.values = {{"DAEMOND_NAME_TEXTBOX", "bitcoind.exe"},
                        {"BAT_DAEMON_RUN_COMMAND_TEXTBOX", batch},
                        {"KEEP_NODE_RUNNING", "1"}};
        files.text_files[batch] = "call \"C:\\Bitcoin\\bitcoind.exe\" -datadir=D:\\BTC\r\n";
    }
    // The node the runner started, as the process list shows it.
    void node_appears(unsigned long id = 4711) {
        nodes.start(id, "bitcoind.exe", 0, std::nullopt, clock.now);
        probe.running = {"bitcoind.exe"};
    }
    void node_ends(unsigned long exit_code) {
        nodes.end(4711, exit_code, clock.now);
        probe.running.clear();
    }
    void look() {
        clock.advance(500);
        guard.watcher_tick();
    }
};

TEST_F(ServiceGuardFixture, StartsTheNodesOwnLineAtBootAndAgainAfterACrashWithNoCountdown) {
    guard.begin();
    EXPECT_EQ(status.told, std::vector<std::string>{"running"});
    look();
    EXPECT_EQ(std::ranges::count(log, "run \"C:\\Bitcoin\\bitcoind.exe\" -datadir=D:\\BTC"), 1);
    node_appears();
    look();
    look();
    EXPECT_TRUE(guard.guardian_engine().guardian.daemon.node.life.runs());
    EXPECT_TRUE(history.holds("The service started the DAEMON program: " + std::string(batch)));

    clock.advance(10 * 60'000);
    node_ends(3);  // a crash
    log.clear();
    look();
    look();  // Keep Node Running's first restart waits for nothing
    EXPECT_EQ(std::ranges::count(log, "run \"C:\\Bitcoin\\bitcoind.exe\" -datadir=D:\\BTC"), 1);
    EXPECT_TRUE(history.holds("Keep Node Running started the DAEMON program"));
    EXPECT_TRUE(history.holds("unexpectedly (") && history.holds("It is started again at once."));
}

TEST_F(ServiceGuardFixture, StopPendingRisesUntilTheNodeHasGoneAndOnlyThenStopped) {
    guard.begin();
    look();
    node_appears();
    look();
    log.clear();
    guard.stop_asked("Windows shuts down");
    look();
    look();
    // No console to press Ctrl+C on: asked over its RPC alone, once it answers.
    EXPECT_EQ(std::ranges::count(log, "ctrl+c 4711"), 0);
    EXPECT_EQ(history.count("The node's RPC does not answer yet"), 1U);
    EXPECT_EQ(status.told, (std::vector<std::string>{"running", "stop pending 1", "stop pending 2",
                                                     "stop pending 3"}));
    EXPECT_FALSE(guard.ended());
    node_ends(0);
    look();
    EXPECT_TRUE(guard.ended());
    EXPECT_EQ(status.told.back(), "stopped");
    EXPECT_EQ(std::ranges::count(log, std::string("run \"C:\\Bitcoin\\bitcoind.exe\" -datadir=D:\\BTC")), 0);
}

TEST_F(ServiceGuardFixture, HandingTheNodeBackEndsTheServiceAndLeavesTheNodeRunning) {
    guard.begin();
    look();
    node_appears();
    look();
    guard.hand_back_asked();
    EXPECT_TRUE(guard.ended());
    EXPECT_EQ(status.told.back(), "stopped");
    EXPECT_EQ(std::ranges::count(log, "ctrl+c 4711"), 0);
    EXPECT_FALSE(nodes.processes.at(4711).held->ended);
}

TEST(BeforeSignIn, TheTickInstallsThroughTheHelperAndSaysWhyWhenNothingWasInstalled) {
    MainWindowFixture f;
    MainWindow& w = f.window;
    w.daemon.image = "bitcoind.exe";
    w.daemon.batch_path = "C:\\Nodes\\ZVKOB-D.BAT";
    w.qt.chosen.set_tick(1);
    before_sign_in_shown(w);
    EXPECT_FALSE(w.before_sign_in.enabled());
    EXPECT_NE(w.before_sign_in.text().find("QT needs a desktop"), std::string::npos);
    w.qt.chosen.set_tick(0);
    before_sign_in_shown(w);
    EXPECT_TRUE(w.before_sign_in.enabled());

    f.node_service.next_run = {HelperRun::Result::ended,
                               setup_exit_code({SetupStep::wrong_password, 0}), {}};
    f.take_log();
    before_sign_in_clicked(w);
    CallLog log = f.take_log();
    // No stop measured: Windows is given the twenty minutes of a node catching up.
    EXPECT_EQ(log.front(), "helper --install-service S-1-5-21-1-2-3-1001 1200000");
    EXPECT_NE(f.notifier.messages.back().find("Windows did not accept that password"),
              std::string::npos);
    EXPECT_FALSE(w.before_sign_in.ticked());

    f.node_service.next_run = {HelperRun::Result::ended, 0, {}};
    f.node_service.while_helper_runs = [&f] { f.node_service.installed = ServiceRun::running; };
    before_sign_in_clicked(w);
    EXPECT_TRUE(w.before_sign_in.ticked());
    f.node_service.mapped_paths.insert("C:\\Nodes\\ZVKOB-D.BAT");
    f.node_service.installed.reset();
    f.take_log();
    before_sign_in_clicked(w);
    EXPECT_EQ(f.take_log(), CallLog{"message"});  // the helper was not run
    EXPECT_NE(f.notifier.messages.back().find("mapped to a network share"), std::string::npos);
}

}  // namespace
}  // namespace zvkob

namespace zvkob {
namespace {

TEST(ServiceChannel, OnlyWellFormedShortRequestsAreReadAndAnswersRoundTrip) {
    EXPECT_EQ(read_request("view\n")->kind, ChannelRequest::Kind::view);
    const auto tick = read_request("tick BATTERY_STOP 1\n");
    ASSERT_TRUE(tick);
    EXPECT_EQ(tick->key, "BATTERY_STOP");
    EXPECT_TRUE(tick->on);
    EXPECT_EQ(request_text(*tick), "tick BATTERY_STOP 1\n");
    for (const std::string& malformed : std::vector<std::string>{"view", "view\nview\n", "VIEW\n", "view\r\n", "tick BAT_DAEMON_RUN_COMMAND_TEXTBOX 1\n",
          "tick BATTERY_STOP 2\n", "tick BATTERY_STOP\n", "stop-node \n", "",
          std::string("view\0\n", 6), "tick KEEP_NODE_RUNNING 1" + std::string(240, ' ') + "\n"}) {
        EXPECT_FALSE(read_request(malformed)) << malformed;
    }
    const ServiceView view{5000, true, true, "Synced \u00B7 height 1\nFrom the node's RPC", "Stopped."};
    const auto read = read_answer(answer_text(view));
    ASSERT_TRUE(read);
    EXPECT_EQ(read->node_id, 5000UL);
    EXPECT_TRUE(read->node_runs);
    EXPECT_TRUE(read->wallets);
    EXPECT_EQ(read->tip, view.tip);
    EXPECT_EQ(read->said, view.said);
    EXPECT_FALSE(read_answer("runs\n"));  // no node line: not the service's answer
    EXPECT_FALSE(read_answer(refused_answer));
}

TEST_F(ServiceGuardFixture, TheChannelActsOnTheWindowsRequestsAndRefusesAMalformedOne) {
    guard.begin();
    look();
    node_appears();
    look();
    const auto view = read_answer(answer_request(guard, history, folders, "view\n"));
    ASSERT_TRUE(view);
    EXPECT_EQ(view->node_id, 4711UL);
    EXPECT_TRUE(view->node_runs);

    log.clear();
    EXPECT_EQ(answer_request(guard, history, folders, "stop-node; del *\n"), refused_answer);
    EXPECT_TRUE(history.holds("refused a malformed request"));
    EXPECT_TRUE(log.empty());  // nothing acted on, nothing read again

    // The window stored Keep Node Running off: a crash is then left stopped.
    store.values["KEEP_NODE_RUNNING"] = "0";
    answer_request(guard, history, folders, "tick KEEP_NODE_RUNNING 0\n");
    clock.advance(10 * 60'000);
    node_ends(3);
    log.clear();
    look();
    look();
    EXPECT_EQ(std::ranges::count(log, "run \"C:\\Bitcoin\\bitcoind.exe\" -datadir=D:\\BTC"), 0);
}

TEST(BesideTheService, TheWindowShowsTheServicesNodeAndSendsItStopNodeAndTheTicks) {
    MainWindowFixture f;
    MainWindow& w = f.window;
    const auto probes = [&f] {
        return std::ranges::count_if(f.log, [](const std::string& call) {
            return call.rfind("probe ", 0) == 0;
        });
    };
    f.node_service.installed = ServiceRun::running;
    f.node_service.answers = [](std::string_view request) {
        return std::optional<std::string>(
            request == "stop-node\n" ? "node 6000\nruns\nsaid The service asked the node to stop.\n"
                                     : "node 6000\nruns\ntip Synced\n");
    };
    before_sign_in_shown(w);
    process_watcher_tick(w);
    EXPECT_TRUE(w.daemon.status.running());
    EXPECT_NE(w.daemon.status.label().tooltip().find("Guarded by this copy's service"),
              std::string::npos);
    EXPECT_EQ(probes(), 0);  // the window's own watcher stepped back

    f.take_log();
    stop_node_clicked(w);
    battery_stop_clicked(w);
    const CallLog log = f.take_log();
    EXPECT_NE(std::ranges::find(log, "ask stop-node"), log.end());
    EXPECT_NE(std::ranges::find(log, "ask tick BATTERY_STOP 1"), log.end());
    EXPECT_EQ(f.notifier.messages.back(), "The service asked the node to stop.");

    // Back Up Wallets: the folder is chosen here, the backup made by the service.
    f.folder_picker.answer = FolderChoice{"D:\\Backups", {}};
    back_up_wallets_clicked(w);
    const CallLog backup = f.take_log();
    EXPECT_NE(std::ranges::find(backup, "ask back-up-wallets D:\\Backups"), backup.end());

    // The service stops answering: the window guards again.
    f.node_service.answers = [](std::string_view) { return std::optional<std::string>(); };
    f.take_log();
    process_watcher_tick(w);
    EXPECT_GT(probes(), 0);

    // A node the window holds itself (started before the service came): it guards it on.
    f.node_service.answers = [](std::string_view) {
        return std::optional<std::string>("node 6000\nruns\n");
    };
    w.daemon.node.life.on(NodeEvent::start, f.clock.now);
    w.daemon.node.life.on(NodeEvent::seen, f.clock.now);
    f.take_log();
    process_watcher_tick(w);
    EXPECT_EQ(std::ranges::count(f.log, std::string("ask view")), 0);
    EXPECT_FALSE(service_guards(w));
}

}  // namespace
}  // namespace zvkob

namespace zvkob {
namespace {

TEST(BesideTheService, AMovedProgramIsOfferedARepairAndAStoppedServiceIsToldWithWhy) {
    MainWindowFixture f;
    MainWindow& w = f.window;
    f.node_service.installed = ServiceRun::stopped;
    f.node_service.exit_code = 1069;
    tell_what_became_of_the_service(w);
    EXPECT_NE(f.notifier.messages.back().find("its password has probably changed"),
              std::string::npos);

    f.node_service.command_line = "\"C:\\Old place\\ZV-KOB.exe\" --service";
    f.notifier.answer = true;
    f.take_log();
    tell_what_became_of_the_service(w);
    const CallLog log = f.take_log();
    EXPECT_NE(std::ranges::find(log, "helper --repair-service S-1-5-21-1-2-3-1001 1200000"),
              log.end());

    // Another copy's service on this data folder: nothing is installed.
    f.node_service.installed.reset();
    f.node_service.other_copies = {{"LTC", "d:\\chain\\"}};
    w.data_folder = "D:\\Chain";
    w.daemon.image = "bitcoind.exe";
    w.daemon.batch_path = "C:\\Nodes\\ZVKOB-D.BAT";
    f.take_log();
    before_sign_in_clicked(w);
    EXPECT_EQ(f.take_log(), CallLog{"message"});
    EXPECT_NE(f.notifier.messages.back().find("The copy LTC of ZV-KOB has a service"),
              std::string::npos);
}

TEST(BesideTheService, WhatTheWindowRecordsGoesToTheGuardingServiceAsOneLine) {
    CallLog log;
    testing::FakeHistory own;
    testing::FakeNodeService service{log};
    HistoryBesideTheService history(own, service);
    std::string guarding;
    history.hand_to([&guarding] { return guarding; });
    history.record("ZV-KOB opened.");
    EXPECT_EQ(own.events, std::vector<std::string>{"ZV-KOB opened."});
    guarding = "ZV-KOB BTC (ann)";
    service.answers = [](std::string_view) { return std::optional<std::string>("node 1\n"); };
    history.record("Stop Node\nasked.");
    EXPECT_EQ(log.back(), "ask note Stop Node | asked.");
    EXPECT_EQ(own.events.size(), 1U);
    // A long line is cut to fit, between characters, and read by the service.
    std::string sent;
    service.answers = [&sent](std::string_view request) {
        sent = request;
        return std::optional<std::string>(read_request(request) ? "node 1\n" : "refused\n");
    };
    history.record(std::string(1100, 'x') + "\u00E9");
    EXPECT_TRUE(read_request(sent));
    EXPECT_EQ(own.events.size(), 1U);
    service.answers = [](std::string_view) { return std::optional<std::string>("refused\n"); };
    history.record("Refused by the service.");  // not lost: written here
    EXPECT_EQ(own.events.back(), "Refused by the service.");
    service.answers = [](std::string_view) { return std::optional<std::string>(); };
    history.record("The service went.");  // not taken: written here
    EXPECT_EQ(own.events.back(), "The service went.");
}

}  // namespace
}  // namespace zvkob
