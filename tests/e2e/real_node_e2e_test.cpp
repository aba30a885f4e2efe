// A real node as the node of the real ZV-KOB.exe: Debian's litecoind on
// regtest, on ports and in a data folder of its own, with debug=http and
// debug=rpc so that its log names its RPC binds and each call. Under wine it
// runs natively; litecoind.exe (tests/support/native_node.cpp) is what
// ZV-KOB starts, sees and stops. Blocks, wallets, peers and dates are made
// with the node's own client, litecoin-cli. Each flow checks that it is
// wired to the real node; unit tests prove the rules' timings.
#include <gtest/gtest.h>

#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "driver.hpp"
#include "regtest_node.hpp"
#include "loopback_sockets.hpp"
#include "made_up_battery.hpp"
#include "main_window/main_window_layout.hpp"

namespace zvkob::e2e {
namespace {

const WindowSpec& layout = main_window_layout();

class RealNode : public ::testing::Test {
protected:
    void SetUp() override {
        if (!real_node_installed()) {
            GTEST_SKIP() << "litecoind is not installed (scripts/install-deps.sh installs it)";
        }
        node.configure(folder.path());
        exe = folder.file(L"litecoind.exe");
        copy_file(native_node_exe(), exe);
        batch = folder.file(L"ZVKOB-D.BAT");
        write_file(batch, "call \"" + narrow(exe) + "\" -conf=\"" + narrow(node.conf) +
                              "\" -datadir=\"" + narrow(node.data) + "\"\r\n");
        delete_section(L"ZV-KOB");
        DeleteFileW(history_file(L"ZV-KOB").c_str());
        std::wstring stops = history_file(L"ZV-KOB");
        stops.replace(stops.size() - 4, 4, L".node-stops");
        DeleteFileW(stops.c_str());
    }
    // Whatever still runs is ended, the native node first: wine's own
    // processes end with the lane, the node of the build machine does not.
    void TearDown() override {
        for (const std::wstring& pid_file : {exe + L".pid", folder.file(L"peer.pid")}) {
            const std::string pid = read_file(pid_file);
            if (pid.find_first_of("0123456789") != std::string::npos) {
                const std::string number = std::to_string(std::atoi(pid.c_str()));
                run_native("grep -q litecoind /proc/" + number +
                               "/cmdline 2>/dev/null && kill -9 " + number,
                           10s);
            }
        }
        program.reset();
        kill_processes(L"litecoind.exe");
        delete_section(L"ZV-KOB");
    }

    // ZV-KOB set to start litecoind.exe through the batch file as its DAEMON
    // program, with `more` settings.
    void open_zv_kob(const Section& more) {
        Section settings{{L"QT_NAME_TEXTBOX", L"litecoin-qt.exe"},
                         {L"DAEMOND_NAME_TEXTBOX", L"litecoind.exe"},
                         {L"BAT_DAEMON_RUN_COMMAND_TEXTBOX", batch},
                         {L"USE_DAEMON_BAT_TICKBOX", L"1"},
                         {L"BLOCKCHAIN_FOLDER_TEXTBOX", node.data}};
        settings.insert(more.begin(), more.end());
        for (const auto& [key, value] : settings) {
            write_setting(L"ZV-KOB", key, value);
        }
        window = start_zv_kob(program);
        ASSERT_NE(window, nullptr);
        label = control(window, layout, main_layout::daemon_status);
        launch = control(window, layout, main_layout::launch_button);
        display = control(window, layout, main_layout::countdown_display);
        start_stop = control(window, layout, main_layout::start_stop_button);
    }
    bool shows_running() const { return text(label) == L"!!! DAEMON RUNNING !!!"; }
    bool shows_stopped() const { return text(label) == L"!!! DAEMON STOPPED !!!"; }
    bool node_runs() const { return process_runs(L"litecoind.exe"); }
    void press_launch() {
        ASSERT_TRUE(wait_until([&] { return enabled(launch) && shows_stopped(); }, 20s));
        click(launch);
        ASSERT_TRUE(wait_until([&] { return shows_running(); }, 30s)) << history();
    }
    // The label's tooltip once it holds both, or what it held last.
    std::wstring tip_with(std::wstring_view first, std::wstring_view second,
                          std::chrono::milliseconds deadline = 60s) {
        std::wstring tip;
        wait_until(
            [&] {
                tip = tooltip_of(label);
                return tip.find(first) != std::wstring::npos &&
                       tip.find(second) != std::wstring::npos;
            },
            deadline);
        return tip;
    }
    std::string history() const { return read_file(history_file(L"ZV-KOB")); }
    bool history_holds(std::string_view line, std::chrono::milliseconds deadline = 30s) const {
        return wait_until([&] { return history().find(line) != std::string::npos; }, deadline);
    }
    // ZV-KOB's history and the node's own lines, for the record of this run.
    void record(const std::vector<std::string>& node_words) const {
        std::cout << "ZV-KOB's history:\n"
                  << history() << "The node's log:\n"
                  << node.log_lines(node_words) << std::flush;
    }
    unsigned long native_pid() const {
        return std::strtoul(read_file(exe + L".pid").c_str(), nullptr, 10);
    }

    ScratchFolder folder{L"real node"};
    RegtestNode node;
    std::wstring exe;
    std::wstring batch;
    std::unique_ptr<Process> program;
    HWND window = nullptr;
    HWND label = nullptr;
    HWND launch = nullptr;
    HWND display = nullptr;
    HWND start_stop = nullptr;
};

// A day with the real node: LAUNCH starts it, ZV-KOB follows it from its
// RPC (the binds its log names) and its log, backs its two wallets up
// through backupwallet, starts it again after a kill -9, leaves it stopped
// after a stop asked with litecoin-cli, starts it by the countdown and stops
// it with Stop Node over its RPC.
TEST_F(RealNode, IsStartedWatchedBackedUpRestartedAndStoppedAsAUserWould) {
    const std::wstring backups = folder.file(L"wallet backups");
    CreateDirectoryW(backups.c_str(), nullptr);
    ASSERT_NO_FATAL_FAILURE(
        open_zv_kob({{L"KEEP_NODE_RUNNING", L"1"}, {L"BACKUP_FOLDER", backups}}));
    ASSERT_NO_FATAL_FAILURE(press_launch());
    node.wallets_and_a_block();
    std::wstring tip = tip_with(L"Synced \u00B7 height 1", L"From the node's RPC");
    EXPECT_NE(tip.find(L"From the node's RPC"), std::wstring::npos) << narrow(tip);
    const std::string port = std::to_string(node.rpc_port);
    EXPECT_NE(node.log().find("Binding RPC on address 127.0.0.1 port " + port), std::string::npos);

    // Both wallets, through backupwallet: the node writes a Windows path it
    // is sent as a file of that name in its working folder (it is not Windows).
    HWND dialog = open_backup_dialog(window, layout, program->id());
    ASSERT_NE(dialog, nullptr) << "offered once the node told its wallets\n" << history();
    ASSERT_TRUE(choose_backup_folder(dialog, backups));
    const std::wstring said = answer_next_box(program->id(), press_ok);
    for (const wchar_t* wallet : {L"alpha", L"beta"}) {
        const auto at = said.find(L"wallet \"" + std::wstring(wallet) + L"\": written as ");
        ASSERT_NE(at, std::wstring::npos) << narrow(said);
        const auto name_at = said.find(L"written as ", at) + 11;
        const std::wstring file = said.substr(name_at, said.find(L".dat", name_at) + 4 - name_at);
        const std::string written = unix_path(L".") + "/" + narrow(backups + L"\\" + file);
        EXPECT_EQ(run_native("test -s " + quoted(written) + " && rm " + quoted(written))->exit_code,
                  0)
            << written;
    }
    EXPECT_NE(node.log().find("ThreadRPCServer method=backupwallet user=__cookie__"),
              std::string::npos);

    // A crash: Keep Node Running starts it again through the countdown.
    const unsigned long killed = native_pid();
    ASSERT_NE(killed, 0UL);
    run_native("kill -9 " + std::to_string(killed));
    EXPECT_TRUE(history_holds(") stopped after ")) << history();
    EXPECT_TRUE(history_holds("Keep Node Running started the DAEMON program: ", 60s)) << history();
    ASSERT_TRUE(wait_until([&] { return shows_running() && native_pid() != killed; }, 60s))
        << history();

    // A stop asked with the node's own client: left stopped.
    EXPECT_NE(node.cli("stop").find("stopping"), std::string::npos);
    EXPECT_TRUE(history_holds("debug.log ends with Shutdown: done); it is left stopped.", 60s))
        << history();
    EXPECT_FALSE(wait_until([&] { return node_runs(); }, 3s));

    // The countdown starts it through the batch file; Stop Node stops it over its RPC.
    ASSERT_TRUE(wait_until([&] { return enabled(start_stop) && shows_stopped(); }, 10s));
    if (text(start_stop) == L"STOP") {  // the restart's countdown left it armed: disarmed first
        click(start_stop);
        ASSERT_TRUE(wait_until([&] { return text(start_stop) == L"START"; }, 5s));
    }
    click(start_stop);
    EXPECT_TRUE(history_holds("The countdown started the DAEMON program: ", 30s)) << history();
    ASSERT_TRUE(wait_until([&] { return shows_running(); }, 30s));
    // Killed before it flushed its last block, the node may come back
    // without it (behind, then): either way it answers its RPC.
    tip_with(L"From the node's RPC", L"\u00B7 height ");
    choose_window_menu_command(window, layout, main_layout::stop_node);
    EXPECT_TRUE(history_holds(") to stop over its RPC.")) << history();
    EXPECT_TRUE(wait_until([&] { return shows_stopped() && !node_runs(); }, 60s)) << history();
    EXPECT_TRUE(history_holds("as ZV-KOB asked it to; it is left stopped.")) << history();
    ASSERT_TRUE(close_and_wait(window, *program));
    record({"Binding RPC", "Generated RPC", "method=backupwallet", "method=stop",
            "Shutdown:", "version v"});
}

// A peer whose blocks are three days old: the node catches up from it and
// ZV-KOB says so; once the peer has a block of now, the node is synced.
TEST_F(RealNode, CatchesUpFromAPeerWhoseBlocksAreDaysOldThenIsSynced) {
    RegtestNode peer;
    const std::wstring peer_folder = folder.file(L"peer");
    CreateDirectoryW(peer_folder.c_str(), nullptr);
    peer.configure(peer_folder, "whitelist=download@127.0.0.1\nlisten=1\n");
    const auto started = run_native("/usr/bin/litecoind -conf=" + quoted(unix_path(peer.conf)) +
                                    " -datadir=" + quoted(unix_path(peer.data)) +
                                    " -printtoconsole=0 >/dev/null 2>&1 & echo $! >" +
                                    quoted(unix_path(folder.file(L"peer.pid"))));
    ASSERT_TRUE(started && started->exit_code == 0);
    EXPECT_EQ(peer.cli("createwallet alpha").find("<failed"), std::string::npos);
    const long now = std::atol(run_native("date +%s")->output.c_str());
    peer.cli("setmocktime " + std::to_string(now - 3 * 24 * 3600));
    peer.mine(30);
    node.configure(folder.path(), "connect=127.0.0.1:" + std::to_string(peer.p2p_port) + "\n");

    ASSERT_NO_FATAL_FAILURE(open_zv_kob({}));
    ASSERT_NO_FATAL_FAILURE(press_launch());
    std::wstring tip = tip_with(L"Catching up \u00B7 height 30", L"From the node's RPC");
    EXPECT_NE(tip.find(L"Catching up \u00B7 height 30"), std::wstring::npos) << narrow(tip);
    peer.cli("setmocktime 0");
    peer.mine(1);
    tip = tip_with(L"Synced \u00B7 height 31", L"From the node's RPC");
    EXPECT_NE(tip.find(L"Synced \u00B7 height 31"), std::wstring::npos) << narrow(tip);
    EXPECT_TRUE(history_holds("caught up at height 31")) << history();
    choose_window_menu_command(window, layout, main_layout::stop_node);
    EXPECT_TRUE(wait_until([&] { return shows_stopped(); }, 60s)) << history();
    ASSERT_TRUE(close_and_wait(window, *program));
    peer.cli("stop");
    record({"UpdateTip", "Leaving InitialBlockDownload", "method=stop", "Shutdown: done"});
}

// On a made-up battery with four minutes left the node is stopped over its
// RPC; back on mains the countdown starts it again.
TEST_F(RealNode, IsStoppedForABatteryAndStartedAgainOnMains) {
    if (!battery_made_up()) {
        GTEST_SKIP() << "runs under tests/support/fake_battery.sh";
    }
    charging_on_mains();
    ASSERT_NO_FATAL_FAILURE(open_zv_kob({{L"KEEP_NODE_RUNNING", L"1"}, {L"BATTERY_STOP", L"1"}}));
    ASSERT_NO_FATAL_FAILURE(press_launch());
    node.wallets_and_a_block();
    tip_with(L"Synced", L"From the node's RPC");
    four_minutes_left();
    power_changed(window);  // the second reading in a row is the next 30 s one
    EXPECT_TRUE(history_holds("On battery with about 4 minutes left: ZV-KOB stopped the node", 45s))
        << history();
    ASSERT_TRUE(wait_until([&] { return !node_runs(); }, 60s)) << history();
    EXPECT_TRUE(history_holds("as ZV-KOB asked it to; it is left stopped.")) << history();
    charging_on_mains();
    EXPECT_TRUE(on_mains_until(
        window, [&] { return history().find("Back on mains power") != std::string::npos; }, 90s))
        << history();
    EXPECT_TRUE(wait_until([&] { return shows_running(); }, 60s)) << history();
    choose_window_menu_command(window, layout, main_layout::stop_node);
    EXPECT_TRUE(wait_until([&] { return shows_stopped(); }, 60s)) << history();
    ASSERT_TRUE(close_and_wait(window, *program));
    record({"method=stop", "Shutdown: done", "version v"});
}

// A damaged block index: the node writes why in its log and exits with code
// 1 within a second or two. ZV-KOB reads its log since this start and says
// what the node said and what helps; Keep Node Running does not start it
// again into the same error.
TEST_F(RealNode, AStartIntoADamagedBlockIndexIsExplained) {
    const auto made = run_native("/usr/bin/litecoind -conf=" + quoted(unix_path(node.conf)) +
                                 " -datadir=" + quoted(unix_path(node.data)) +
                                 " -printtoconsole=0 >/dev/null 2>&1 & echo $! >" +
                                 quoted(unix_path(exe + L".pid")));
    ASSERT_TRUE(made && made->exit_code == 0);
    EXPECT_EQ(node.cli("getblockcount"), "0");
    node.cli("stop");
    ASSERT_TRUE(
        wait_until([&] { return node.log().find("Shutdown: done") != std::string::npos; }, 60s));
    const std::string index = unix_path(node.data + L"\\regtest\\blocks\\index");
    const auto damaged = run_native("sleep 1; for log in " + quoted(index) +
                                    "/*.log; do printf 'ZVKOBZVKOBZVKOBZVKOB%.0s' 1 2 3 4 5 | "
                                    "dd of=\"$log\" bs=1 seek=20 conv=notrunc 2>/dev/null; done");
    ASSERT_TRUE(damaged && damaged->exit_code == 0);

    ASSERT_NO_FATAL_FAILURE(open_zv_kob({{L"KEEP_NODE_RUNNING", L"1"}}));
    ASSERT_TRUE(wait_until([&] { return enabled(launch) && shows_stopped(); }, 20s));
    click(launch);
    const std::wstring said = answer_next_box(program->id(), press_ok);
    EXPECT_NE(said.find(L"Fatal LevelDB error: Corruption: checksum mismatch"), std::wstring::npos)
        << narrow(said);
    EXPECT_NE(said.find(L"Start the node once by hand with -reindex"), std::wstring::npos)
        << narrow(said);
    EXPECT_TRUE(history_holds("Fatal LevelDB error: Corruption: checksum mismatch")) << history();
    const std::wstring tip = tip_with(L"Fatal LevelDB error", L"-reindex", 10s);
    EXPECT_NE(tip.find(L"-reindex"), std::wstring::npos) << narrow(tip);
    EXPECT_FALSE(wait_until([&] { return node_runs() || text(display) == L"10"; }, 15s))
        << "not started again into the same error\n"
        << history();
    EXPECT_EQ(times_in_history(L"ZV-KOB", "started the DAEMON program"), 1U) << history();
    ASSERT_TRUE(close_and_wait(window, *program));
    record({"Fatal LevelDB", "Error opening", "Please restart", "Aborted", "Shutdown: done"});
}

}  // namespace
}  // namespace zvkob::e2e
