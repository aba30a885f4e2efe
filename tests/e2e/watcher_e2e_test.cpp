// The real ZV-KOB.exe at work under wine on a virtual screen: watching a
// stand-in node program, launching it hidden, closing itself, and what the
// user sees when a launch cannot start.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "driver.hpp"
#include "loopback_sockets.hpp"

#include <commctrl.h>
#include "main_window/main_window_layout.hpp"

namespace zvkob::e2e {
namespace {

const WindowSpec& layout = main_window_layout();

class WatcherEndToEnd : public ::testing::Test {
protected:
    void SetUp() override { delete_section(L"ZV-KOB"); }
    void TearDown() override {
        for (const wchar_t* node : {L"zv-e2e-qt.exe", L"zv-e2e-daemon.exe", L"bob's-node.exe"}) {
            kill_processes(node);
        }
        delete_section(L"ZV-KOB");
    }

    // The stand-in node program under `image_name` in the scratch folder.
    std::wstring stand_in(const std::wstring& image_name, bool console = false) {
        return e2e::stand_in(folder.file(image_name), console);
    }
    // Starts ZV-KOB (with what was stored) and returns its main window.
    HWND start_zv_kob() { return e2e::start_zv_kob(program); }

    void store(const Section& values) {
        for (const auto& [key, value] : values) {
            write_setting(L"ZV-KOB", key, value);
        }
    }

    ScratchFolder folder{L"watcher e2e"};
    std::unique_ptr<Process> program;
};

bool shows(HWND label, std::wstring_view caption, COLORREF colour) {
    return text(label) == caption && colour_on_screen(label) == colour;
}

// The countdown has begun: it shows one of its first seconds.
bool counting_down(HWND display) {
    const std::wstring shown = text(display);
    return shown == L"10" || shown == L"09" || shown == L"08";
}

TEST_F(WatcherEndToEnd, AutoStartLaunchesTheNodeHiddenAndClosesOnceItRuns) {
    const std::wstring node = stand_in(L"zv-e2e-qt.exe");
    const std::wstring batch = folder.file(L"ZVKOB-QT.BAT");
    write_file(batch, "call \"" + narrow(node) + "\" -conf=C:\\BC-CONF\\node.conf " +
                          "-datadir=C:\\BC-ROOT\\NODE -disablewallet=0\r\n");
    const Section stored{
        {L"QT_NAME_TEXTBOX", L"zv-e2e-qt.exe"}, {L"DAEMOND_NAME_TEXTBOX", L"zv-e2e-daemon.exe"},
        {L"BAT_QT_RUN_COMMAND_TEXTBOX", batch}, {L"USE_QT_BAT_TICKBOX", L"1"},
        {L"AUTOSTART_TICKBOX", L"1"},           {L"AUTOCLOSE_TIMER_TICKBOX", L"1"}};
    store(stored);

    HWND window = start_zv_kob();
    ASSERT_NE(window, nullptr);
    HWND display = control(window, layout, main_layout::countdown_display);
    HWND qt_label = control(window, layout, main_layout::qt_status);
    EXPECT_EQ(text(control(window, layout, main_layout::start_stop_button)), L"STOP")
        << "armed by the load";
    EXPECT_FALSE(enabled(control(window, layout, main_layout::settings_button)));

    EXPECT_TRUE(wait_until([&] { return shows(qt_label, L"!!! QT STOPPED !!!", red); }, 3s));
    EXPECT_TRUE(wait_until([&] { return counting_down(display); }, 4s));
    // Only the screen is read now: the window takes no messages during the pause.
    EXPECT_TRUE(wait_until([&] { return colour_on_screen(display) == yellow; }, 12s))
        << "the zero step's indicator is on screen while the window is frozen";
    EXPECT_TRUE(wait_until([&] { return process_runs(L"zv-e2e-qt.exe"); }, 5s));
    ASSERT_TRUE(wait_until([&] { return colour_on_screen(display) == green; }, 5s));
    const auto launched = Clock::now();
    EXPECT_EQ(text(display), L"-- --");
    EXPECT_TRUE(wait_until([&] { return shows(qt_label, L"!!! QT RUNNING !!!", green); }, 3s));
    EXPECT_FALSE(enabled(control(window, layout, main_layout::launch_button)));

    ASSERT_TRUE(program->wait_for_exit(20s)) << "auto-close ends the program";
    const auto closed_after = Clock::now() - launched;
    EXPECT_GT(closed_after, 8s);
    EXPECT_LT(closed_after, 15s) << "about ten seconds after the launch";
    EXPECT_TRUE(process_runs(L"zv-e2e-qt.exe")) << "the node outlives ZV-KOB";
    EXPECT_EQ(read_file(node + L".args"),
              "-conf=C:\\BC-CONF\\node.conf\n-datadir=C:\\BC-ROOT\\NODE\n-disablewallet=0\n");

    Section saved = read_section(L"ZV-KOB");
    EXPECT_EQ(saved.size(), 11U);
    for (const auto& [key, value] : stored) {
        EXPECT_EQ(saved[key], value) << narrow(key);
    }
}

TEST_F(WatcherEndToEnd, StatusLabelsFollowAProgramThatStartsAndStops) {
    store({{L"DAEMOND_NAME_TEXTBOX", L"bob's-node.exe"}, {L"QT_NAME_TEXTBOX", L""}});
    HWND window = start_zv_kob();
    ASSERT_NE(window, nullptr);
    HWND daemon_label = control(window, layout, main_layout::daemon_status);
    HWND qt_label = control(window, layout, main_layout::qt_status);
    HWND launch = control(window, layout, main_layout::launch_button);

    EXPECT_TRUE(
        wait_until([&] { return shows(daemon_label, L"!!! DAEMON STOPPED !!!", red); }, 3s));
    EXPECT_TRUE(wait_until([&] { return shows(qt_label, L"!!! QT STOPPED !!!", red); }, 3s));
    EXPECT_TRUE(wait_until([&] { return enabled(launch); }, 2s)) << "nothing runs";
    {
        Process node(stand_in(L"bob's-node.exe"));
        EXPECT_TRUE(
            wait_until([&] { return shows(daemon_label, L"!!! DAEMON RUNNING !!!", green); }, 3s))
            << "a name with an apostrophe is watched like any other";
        EXPECT_TRUE(wait_until([&] { return !enabled(launch); }, 2s));
    }
    EXPECT_TRUE(
        wait_until([&] { return shows(daemon_label, L"!!! DAEMON STOPPED !!!", red); }, 3s));
    EXPECT_TRUE(wait_until([&] { return enabled(launch); }, 2s));
    ASSERT_TRUE(close_and_wait(window, *program));
}

TEST_F(WatcherEndToEnd, ALaunchThatCannotStartSaysWhyAndTheWindowStaysUsable) {
    const std::wstring missing = folder.file(L"not here\\ZVKOB-QT.BAT");
    store({{L"QT_NAME_TEXTBOX", L"zv-e2e-qt.exe"},
           {L"BAT_QT_RUN_COMMAND_TEXTBOX", missing},
           {L"USE_QT_BAT_TICKBOX", L"1"}});
    HWND window = start_zv_kob();
    ASSERT_NE(window, nullptr);
    HWND launch = control(window, layout, main_layout::launch_button);
    HWND display = control(window, layout, main_layout::countdown_display);
    HWND start_stop = control(window, layout, main_layout::start_stop_button);
    ASSERT_TRUE(wait_until(
        [&] {
            return enabled(launch) &&
                   text(control(window, layout, main_layout::qt_status)) == L"!!! QT STOPPED !!!";
        },
        3s));

    // LAUNCH by hand while the countdown runs: the watcher enables it again.
    click(start_stop);
    ASSERT_TRUE(wait_until([&] { return counting_down(display) && enabled(launch); }, 4s));
    click(launch);
    HWND message = wait_for_window(program->id(), L"ZV-KOB", 5s);
    ASSERT_NE(message, nullptr) << "the user is told";
    const std::wstring said = message_box_text(message);
    EXPECT_NE(said.find(L"ZV-KOB could not start the QT program."), std::wstring::npos)
        << narrow(said);
    EXPECT_NE(said.find(L"Command: " + missing), std::wstring::npos) << narrow(said);
    EXPECT_NE(said.find(L"Reason: "), std::wstring::npos) << narrow(said);
    EXPECT_TRUE(wait_until([&] { return colour_on_screen(display) == pink; }, 3s))
        << "the indicator is back at rest";
    const std::wstring shown = text(display);
    EXPECT_FALSE(wait_until([&] { return text(display) != shown; }, 2500ms))
        << "no countdown tick runs inside the unfinished LAUNCH while the message is open";
    press_ok(message);

    EXPECT_TRUE(wait_until([&] { return !IsWindow(message); }, 3s));
    EXPECT_FALSE(wait_until([&] { return text(display) != shown; }, 1500ms))
        << "the launch stopped the countdown";
    EXPECT_EQ(text(start_stop), L"STOP");
    click(start_stop);
    EXPECT_TRUE(wait_until([&] { return text(start_stop) == L"START"; }, 3s)) << "still usable";
    click(start_stop);
    EXPECT_TRUE(wait_until([&] { return counting_down(display); }, 4s));

    // Again while the user works in another program: the message is the main
    // window's own, which takes no input while it is open. The watcher goes
    // on meanwhile, and a request to close waits for the message.
    OtherProgramWindow other;
    other.take_foreground();
    ASSERT_TRUE(wait_until([&] { return enabled(launch); }, 3s));
    click(launch);
    message = wait_for_message_box(program->id());
    ASSERT_NE(message, nullptr);
    EXPECT_EQ(GetWindow(message, GW_OWNER), window);
    EXPECT_TRUE(wait_until([&] { return !enabled(window); }, 2s));
    Process node(stand_in(L"zv-e2e-qt.exe"));
    EXPECT_TRUE(wait_until(
        [&] {
            return text(control(window, layout, main_layout::qt_status)) == L"!!! QT RUNNING !!!" &&
                   !enabled(launch);
        },
        3s))
        << "the status and LAUNCH stay current while the message is open";
    close(window);
    EXPECT_FALSE(program->wait_for_exit(1500ms)) << "the close waits for the message";
    press_ok(message);
    ASSERT_TRUE(program->wait_for_exit(10s)) << "and is carried out once it is dismissed";
    EXPECT_EQ(read_section(L"ZV-KOB")[L"USE_QT_BAT_TICKBOX"], L"1") << "with the settings saved";
}

// The window is frozen for three seconds after a start. A second click on
// LAUNCH in that time is dropped: handled afterwards it would start the node
// again before the watcher could see the first one running.
TEST_F(WatcherEndToEnd, AClickWhileTheWindowIsFrozenStartsNothingMore) {
    const std::wstring launches = folder.file(L"launches.txt");
    const std::wstring batch = folder.file(L"ZVKOB-QT.BAT");
    write_file(batch, "echo launched>>\"" + narrow(launches) + "\"\r\n");
    store({{L"QT_NAME_TEXTBOX", L"zv-e2e-qt.exe"},
           {L"BAT_QT_RUN_COMMAND_TEXTBOX", batch},
           {L"USE_QT_BAT_TICKBOX", L"1"}});
    HWND window = start_zv_kob();
    ASSERT_NE(window, nullptr);
    HWND launch = control(window, layout, main_layout::launch_button);
    HWND display = control(window, layout, main_layout::countdown_display);
    ASSERT_TRUE(wait_until(
        [&] {
            return text(control(window, layout, main_layout::qt_status)) == L"!!! QT STOPPED !!!";
        },
        3s));
    const auto count = [&] {
        const std::string log = read_file(launches);
        return std::count(log.begin(), log.end(), '\n');
    };

    mouse_click(launch);
    ASSERT_TRUE(wait_until([&] { return colour_on_screen(display) == cyan; }, 3s))
        << "frozen, with the LAUNCH indicator on screen";
    mouse_click(launch);
    ASSERT_TRUE(wait_until([&] { return colour_on_screen(display) == pink; }, 6s));
    EXPECT_FALSE(wait_until([&] { return count() > 1; }, 2s)) << "the second click started nothing";
    EXPECT_EQ(count(), 1);

    mouse_click(launch);
    EXPECT_TRUE(wait_until([&] { return count() == 2; }, 6s)) << "a click after the pause works";
    ASSERT_TRUE(wait_until([&] { return colour_on_screen(display) == pink; }, 6s));

    // Ten clicks queued at once by an automation tool are one start.
    ASSERT_TRUE(wait_until([&] { return enabled(launch); }, 3s));
    for (int queued = 0; queued < 10; ++queued) {
        click(launch);
    }
    EXPECT_TRUE(wait_until([&] { return count() == 3; }, 6s));
    EXPECT_FALSE(wait_until([&] { return count() > 3; }, 5s)) << "the nine others started nothing";

    // A batch file whose program is missing ends at once: the user is told.
    write_file(batch, "call \"C:\\zvkob-tests\\nowhere\\node.exe\" -datadir=C:\\x\r\n");
    ASSERT_TRUE(wait_until([&] { return enabled(launch); }, 3s));
    click(launch);
    const std::wstring said = answer_next_box(program->id(), press_ok);
    EXPECT_NE(said.find(L"ZV-KOB started the QT program's batch file, but it ended at once with "
                        L"exit code "),
              std::wstring::npos)
        << narrow(said);
    EXPECT_NE(said.find(L"Command: " + batch), std::wstring::npos) << narrow(said);
    EXPECT_TRUE(wait_until([&] { return colour_on_screen(display) == pink; }, 3s));
    ASSERT_TRUE(close_and_wait(window, *program));
}

// Without the process query service nothing can be watched: LAUNCH says so
// and names the service's error instead of looking usable and doing nothing.
TEST_F(WatcherEndToEnd, WithoutTheProcessQueryLaunchSaysWhy) {
    // A copy under its own name, for which wine leaves out the query service
    // (wbemprox), as WINEDLLOVERRIDES="wbemprox=d" would.
    const std::wstring exe = folder.file(L"NoQuery.exe");
    copy_file(zv_kob_exe(), exe);
    const std::wstring overrides = L"Software\\Wine\\AppDefaults\\NoQuery.exe\\DllOverrides";
    RegSetKeyValueW(HKEY_CURRENT_USER, overrides.c_str(), L"wbemprox", REG_SZ, L"",
                    sizeof(wchar_t));
    for (const auto& [key, value] :
         Section{{L"QT_NAME_TEXTBOX", L"zv-e2e-qt.exe"},
                 {L"BAT_QT_RUN_COMMAND_TEXTBOX", folder.file(L"ZVKOB-QT.BAT")},
                 {L"USE_QT_BAT_TICKBOX", L"1"}}) {
        write_setting(L"NoQuery", key, value);
    }
    HWND window = e2e::start_zv_kob(program, exe, L"TARLOWEN - ZV-KOB - NoQuery");
    ASSERT_NE(window, nullptr);
    HWND qt_label = control(window, layout, main_layout::qt_status);
    HWND launch = control(window, layout, main_layout::launch_button);
    ASSERT_TRUE(wait_until([&] { return enabled(launch); }, 3s));
    // Pressed again until the watcher has tried its first query, which fails.
    HWND box = nullptr;
    ASSERT_TRUE(wait_until(
        [&] {
            click(launch);
            return (box = wait_for_message_box(program->id(), 500ms)) != nullptr;
        },
        10s));
    EXPECT_EQ(text(qt_label), L"!!! NOT MONITORING !!!");
    const std::wstring said = message_box_text(box);
    press_ok(box);
    EXPECT_NE(said.find(L"ZV-KOB cannot tell whether the QT and DAEMON programs run."),
              std::wstring::npos)
        << narrow(said);
    EXPECT_NE(said.find(L"The process query failed to "), std::wstring::npos) << narrow(said);
    ASSERT_TRUE(close_and_wait(window, *program));
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Wine\\AppDefaults\\NoQuery.exe");
    delete_section(L"NoQuery");
}

// Keep Node Running: a node that crashes is started again through the
// countdown; one that stops cleanly, by its own log wherever its command line,
// configuration file and network put it, and in the lines of every version,
// is left stopped, as is one that stopped after a fatal error. The history
// tells it all.
TEST_F(WatcherEndToEnd, KeepNodeRunningRestartsACrashAndReadsTheNodesOwnLogForEveryOtherStop) {
    const std::wstring node = stand_in(L"zv-e2e-qt.exe");
    const std::wstring data = folder.file(L"node data");
    CreateDirectoryW(data.c_str(), nullptr);
    const std::wstring batch = folder.file(L"ZVKOB-QT.BAT");
    const auto started_with = [&](const std::string& arguments) {
        write_file(batch, "call \"" + narrow(node) + "\" " + arguments + "\r\n");
    };
    started_with("-datadir=\"" + narrow(data) + "\"");
    DeleteFileW(history_file(L"ZV-KOB").c_str());
    store({{L"QT_NAME_TEXTBOX", L"zv-e2e-qt.exe"},
           {L"BAT_QT_RUN_COMMAND_TEXTBOX", batch},
           {L"USE_QT_BAT_TICKBOX", L"1"},
           {L"BLOCKCHAIN_FOLDER_TEXTBOX", data},
           {L"KEEP_NODE_RUNNING", L"1"}});
    HWND window = start_zv_kob();
    ASSERT_NE(window, nullptr);
    HWND launch = control(window, layout, main_layout::launch_button);
    HWND display = control(window, layout, main_layout::countdown_display);
    HWND qt_label = control(window, layout, main_layout::qt_status);
    const auto launch_the_node = [&] {
        ASSERT_TRUE(wait_until(
            [&] { return enabled(launch) && text(qt_label) == L"!!! QT STOPPED !!!"; }, 5s));
        click(launch);
        // Three lanes of wine at once may take a while to start and see a windowed program.
        ASSERT_TRUE(wait_until([&] { return text(qt_label) == L"!!! QT RUNNING !!!"; }, 20s))
            << "ZV-KOB's history:\n"
            << read_file(history_file(L"ZV-KOB"));
    };
    launch_the_node();

    kill_processes(L"zv-e2e-qt.exe");  // a crash: no clean-shutdown line
    EXPECT_TRUE(wait_until([&] { return counting_down(display); }, 5s))
        << "the restart goes through the countdown";
    EXPECT_TRUE(wait_until([&] { return process_runs(L"zv-e2e-qt.exe"); }, 20s))
        << "and starts the node again";
    ASSERT_TRUE(wait_until([&] { return text(qt_label) == L"!!! QT RUNNING !!!"; }, 10s));

    // Clean stops, and one after a fatal error, each with its log elsewhere.
    const std::wstring testnet = folder.file(L"testnet data");
    CreateDirectoryW(testnet.c_str(), nullptr);
    CreateDirectoryW((testnet + L"\\testnet3").c_str(), nullptr);
    const std::wstring external = folder.file(L"on the external drive");
    CreateDirectoryW(external.c_str(), nullptr);
    write_file(folder.file(L"node.conf"),
               "# the node's own settings\r\ndatadir=" + narrow(external) + "\r\n");
    const std::wstring moved_log = folder.file(L"moved.log");
    struct Stop {
        std::string arguments;  // after the first stop, the node is started with these
        std::string said;       // what Keep Node Running then says
    };
    const std::string in_data = "-datadir=\"" + narrow(data) + "\"";
    const std::vector<Stop> stops{
        {in_data + " --v30",
         narrow(data) + "\\debug.log ends with Shutdown: done); it is left stopped."},
        {in_data + " --v30 --fatal-disk",
         narrow(data) + "\\debug.log ends with Shutdown done); it is left stopped."},
        {"-datadir=\"" + narrow(testnet) + "\" -testnet",
         "after an error (" + narrow(data) +
             "\\debug.log shows a fatal error (the node exited "
             "with code 1)): "},
        // No -datadir at all: the file's datadir= is the node's rule (an empty
        // -datadir= would send the node to its own default data folder).
        {"-conf=\"" + narrow(folder.file(L"node.conf")) + "\"",
         "testnet3\\debug.log ends with Shutdown: done); it is left stopped."},
        {in_data + " -debuglogfile=\"" + narrow(moved_log) + "\"",
         narrow(external) + "\\debug.log ends with Shutdown: done); it is left stopped."},
        {in_data, narrow(moved_log) + " ends with Shutdown: done); it is left stopped."},
    };
    for (const Stop& stop : stops) {
        if (stop.said.find("testnet3") != std::string::npos) {  // the main network's, written last
            write_file(testnet + L"\\debug.log", "a busier main network node's log\n");
        }
        write_file(node + L".stop", "");  // the node stops the way it was started to
        if (stop.said.starts_with("after an error")) {
            EXPECT_NE(answer_next_box(program->id(), press_ok)
                          .find(L"Shutting down due to lack of disk space!"),
                      std::wstring::npos);
        }
        EXPECT_TRUE(wait_until([&] { return times_in_history(L"ZV-KOB", stop.said) > 0; }, 10s))
            << stop.said << "\n"
            << read_file(history_file(L"ZV-KOB"));
        EXPECT_FALSE(counting_down(display) || process_runs(L"zv-e2e-qt.exe"))
            << "left stopped: " << stop.said;
        started_with(stop.arguments);
        launch_the_node();
    }
    write_file(node + L".stop", "");
    ASSERT_TRUE(close_and_wait(window, *program));

    const std::string history = read_file(history_file(L"ZV-KOB"));
    for (const char* line :
         {" ZV-KOB 1.0.0 opened (copy ZV-KOB).",
          " LAUNCH started the QT program: ", "The QT program zv-e2e-qt.exe is running (process ",
          "stopped after", "Keep Node Running: the QT program (zv-e2e-qt.exe) stopped after",
          "unexpectedly (", "Keep Node Running started the QT program: ", "cleanly (",
          "[error] Shutting down due to lack of disk space!; it is not started again.",
          "ZV-KOB closed by the user."}) {
        EXPECT_NE(history.find(line), std::string::npos) << line << "\n" << history;
    }
}

// Guarding a console node through a day: the countdown waits for the data
// drive, Stop Node stops the node with Ctrl+C and Keep Node Running leaves it
// stopped, and a sign-out is held until the node has stopped, then ZV-KOB
// closes as it always does.
TEST_F(WatcherEndToEnd, GuardsAConsoleNodeThroughADriveWaitAStopAndASignOut) {
    const std::wstring node = stand_in(L"zv-e2e-daemon.exe", true);
    const std::wstring data = folder.file(L"node data");
    const std::wstring batch = folder.file(L"ZVKOB-D.BAT");
    write_file(batch, "call \"" + narrow(node) + "\" -datadir=\"" + narrow(data) + "\"\r\n");
    DeleteFileW(history_file(L"ZV-KOB").c_str());
    store({{L"QT_NAME_TEXTBOX", L"zv-e2e-qt.exe"},
           {L"DAEMOND_NAME_TEXTBOX", L"zv-e2e-daemon.exe"},
           {L"BAT_DAEMON_RUN_COMMAND_TEXTBOX", batch},
           {L"USE_DAEMON_BAT_TICKBOX", L"1"},
           {L"AUTOSTART_TICKBOX", L"1"},
           {L"BLOCKCHAIN_FOLDER_TEXTBOX", data},
           {L"KEEP_NODE_RUNNING", L"1"},
           {L"SAFE_SIGN_OUT", L"1"},
           {L"CHECK_DATA_DRIVE", L"1"}});
    HWND window = start_zv_kob();
    ASSERT_NE(window, nullptr);
    HWND display = control(window, layout, main_layout::countdown_display);
    HWND daemon_label = control(window, layout, main_layout::daemon_status);
    const auto node_runs = [] { return process_runs(L"zv-e2e-daemon.exe"); };
    const auto history_holds = [](const char* line) {
        return wait_until(
            [&] { return read_file(history_file(L"ZV-KOB")).find(line) != std::string::npos; }, 5s);
    };

    ASSERT_TRUE(wait_until([&] { return text(display) == L"wait"; }, 16s))
        << "the data folder is not there: the countdown's start waits";
    EXPECT_FALSE(wait_until(node_runs, 2s));
    CreateDirectoryW(data.c_str(), nullptr);  // the drive is connected
    ASSERT_TRUE(wait_until(node_runs, 8s)) << "and starts the node once it is";
    ASSERT_TRUE(wait_until([&] { return text(daemon_label) == L"!!! DAEMON RUNNING !!!"; }, 5s));

    ASSERT_TRUE(stand_in_started(node, 5s)) << "it has started";
    choose_window_menu_command(window, layout, main_layout::stop_node);
    ASSERT_TRUE(wait_until([&] { return !node_runs(); }, 10s))
        << "Ctrl+C stops the node\n"
        << read_file(history_file(L"ZV-KOB"));
    EXPECT_NE(read_file(data + L"\\debug.log").find("Shutdown: done"), std::string::npos);
    EXPECT_TRUE(history_holds("as ZV-KOB asked it to; it is left stopped."));
    EXPECT_FALSE(counting_down(display) || node_runs()) << "Keep Node Running leaves it stopped";

    // Started again answering RPC: the sign-out hold asks it to stop there.
    const std::uint16_t port = free_loopback_port();
    write_file(batch, "call \"" + narrow(node) + "\" -datadir=\"" + narrow(data) +
                          "\" --rpc -rpcport=" + std::to_string(port) + "\r\n");
    click(control(window, layout, main_layout::launch_button));
    ASSERT_TRUE(wait_until([&] { return text(daemon_label) == L"!!! DAEMON RUNNING !!!"; }, 10s));
    std::wstring tip;
    ASSERT_TRUE(wait_until(
        [&] {
            tip = tooltip_of(daemon_label);
            return tip.find(L"\nFrom the node's RPC") != std::wstring::npos;
        },
        15s))
        << narrow(tip);
    DWORD_PTR may_end = TRUE;
    ASSERT_NE(SendMessageTimeoutW(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF,
                                  SMTO_ABORTIFHUNG, 5000, &may_end),
              0);
    EXPECT_EQ(may_end, static_cast<DWORD_PTR>(FALSE)) << "the sign-out is held";
    EXPECT_TRUE(wait_until([&] { return !node_runs(); }, 10s)) << "while the node stops";
    ASSERT_TRUE(program->wait_for_exit(10s)) << "then ZV-KOB lets go and closes";
    const Section saved = read_section(L"ZV-KOB");
    EXPECT_EQ(saved.count(L"MAIN-Left"), 1U) << "saving as it always does";
    EXPECT_EQ(saved.at(L"SAFE_SIGN_OUT"), L"1");

    const std::string history = read_file(history_file(L"ZV-KOB"));
    for (const char* line :
         {"The countdown does not start the node yet: waiting for ",
          "Stop Node asked the DAEMON program (zv-e2e-daemon.exe, process ",
          ") to stop with Ctrl+C on its console.", "after it was asked to (process ",
          "Windows is ending the session: ZV-KOB holds it until the node has stopped",
          "The end of the Windows session asked the DAEMON program (zv-e2e-daemon.exe, process ",
          ") to stop over its RPC.", "The node has stopped; the end of the session goes on."}) {
        EXPECT_NE(history.find(line), std::string::npos) << line << "\n" << history;
    }
}

// The process number of the stand-in node that last started with this data
// folder, from its log; 0 before it has.
DWORD node_started_in(const std::wstring& data_folder) {
    const std::string log = read_file(data_folder + L"\\debug.log");
    const auto at = log.rfind("started, process ");
    return at == std::string::npos ? 0 : std::stoul(log.substr(at + 17));
}

// A copy of ZV-KOB under its own name, watching the console stand-in node.
struct Copy {
    std::wstring name;
    std::wstring data;  // its BLOCKCHAIN FOLDER; none when empty
    std::wstring left;
    std::unique_ptr<Process> program;
    HWND window = nullptr;
    HWND label = nullptr;
    HWND launch = nullptr;
    HWND display = nullptr;

    // Stores its settings afresh (with a batch file that starts `node` on
    // its data folder) and starts it.
    void store_and_open(const ScratchFolder& folder, const std::wstring& node) {
        const std::wstring batch = folder.file(name + L".BAT");
        write_file(batch, "call \"" + narrow(node) + "\"" +
                              (data.empty() ? "" : " -datadir=\"" + narrow(data) + "\"") + "\r\n");
        delete_section(name);
        DeleteFileW(history_file(name).c_str());
        for (const auto& [key, value] : Section{{L"QT_NAME_TEXTBOX", L"zv-e2e-qt.exe"},
                                                {L"DAEMOND_NAME_TEXTBOX", L"zv-e2e-daemon.exe"},
                                                {L"BAT_DAEMON_RUN_COMMAND_TEXTBOX", batch},
                                                {L"USE_DAEMON_BAT_TICKBOX", L"1"},
                                                {L"BLOCKCHAIN_FOLDER_TEXTBOX", data},
                                                {L"KEEP_NODE_RUNNING", L"1"},
                                                {L"SAFE_SIGN_OUT", L"1"},
                                                {L"AlwaysOnTopTimer_TICKBOX", L"0"},
                                                {L"MAIN-Left", left}}) {
            write_setting(name, key, value);
        }
        open(folder);
    }
    // Starts it with what it stored.
    void open(const ScratchFolder& folder) {
        const std::wstring exe = folder.file(name + L".exe");
        copy_file(zv_kob_exe(), exe);
        window = start_zv_kob(program, exe, L"TARLOWEN - ZV-KOB - " + name);
        ASSERT_NE(window, nullptr);
        label = control(window, layout, main_layout::daemon_status);
        launch = control(window, layout, main_layout::launch_button);
        display = control(window, layout, main_layout::countdown_display);
    }
    bool shows_running() const { return text(label) == L"!!! DAEMON RUNNING !!!"; }
    bool shows_stopped() const { return text(label) == L"!!! DAEMON STOPPED !!!"; }
    std::string history() const { return read_file(history_file(name)); }
};

// Two copies of ZV-KOB guard two nodes of one program file, each with its own
// data folder: each counts, restarts, stops and waits for its own node only.
// A third copy set to the first one's folder, written another way, counts
// that copy's node as running and starts no second node on its folder.
TEST_F(WatcherEndToEnd, TwoCopiesOfOneNodeProgramEachGuardTheirOwnNode) {
    const std::wstring node = stand_in(L"zv-e2e-daemon.exe", true);
    // Side by side, neither pinned on top of the other, as an operator sets them up.
    std::array<Copy, 2> copies{Copy{L"NodeA", folder.file(L"data A"), L"1000"},
                               Copy{L"NodeB", folder.file(L"data B"), L"6000"}};
    for (Copy& copy : copies) {
        CreateDirectoryW(copy.data.c_str(), nullptr);
        copy.store_and_open(folder, node);
        ASSERT_NE(copy.window, nullptr);
    }
    Copy& a = copies[0];
    Copy& b = copies[1];
    const auto launch = [&](Copy& c) {
        const DWORD before = node_started_in(c.data);
        EXPECT_TRUE(wait_until([&] { return enabled(c.launch) && c.shows_stopped(); }, 8s));
        click(c.launch);
        EXPECT_TRUE(
            wait_until([&] { return node_started_in(c.data) != before && c.shows_running(); }, 15s))
            << narrow(c.name);
    };

    launch(a);
    EXPECT_FALSE(wait_until([&] { return b.shows_running(); }, 3s))
        << "A's node is not B's: B's label stays STOPPED";
    EXPECT_TRUE(b.shows_stopped());

    wchar_t short_name[MAX_PATH] = {};
    ASSERT_NE(GetShortPathNameW(a.data.c_str(), short_name, MAX_PATH), 0U);
    Copy same{L"NodeA2", std::wstring(short_name) + L"\\.\\", L"3500"};
    same.store_and_open(folder, node);
    EXPECT_TRUE(wait_until([&] { return same.shows_running() && !enabled(same.launch); }, 8s))
        << "A's node runs on its folder, however it is written\n"
        << same.history();
    close(same.window);
    EXPECT_TRUE(same.program->wait_for_exit(10s));

    launch(b);
    const DWORD b_node = node_started_in(b.data);
    EXPECT_TRUE(a.shows_running() && process_id_runs(node_started_in(a.data)));

    const DWORD killed = node_started_in(a.data);
    kill_process(killed);  // A's node crashes
    EXPECT_TRUE(wait_until([&] { return node_started_in(a.data) != killed; }, 25s))
        << "A starts its own node again while B's runs\n"
        << a.history();
    EXPECT_TRUE(wait_until([&] { return a.shows_running(); }, 5s));

    choose_window_menu_command(a.window, layout, main_layout::stop_node);
    EXPECT_TRUE(wait_until([&] { return !process_id_runs(node_started_in(a.data)); }, 10s))
        << "Stop Node stops A's node";
    EXPECT_TRUE(wait_until([&] { return text(a.display) != L"stop" && !a.shows_running(); }, 5s))
        << "and A's display returns";
    EXPECT_TRUE(process_id_runs(b_node)) << "but not B's";

    launch(a);  // LAUNCH works while B's node runs
    DWORD_PTR may_end = TRUE;
    ASSERT_NE(SendMessageTimeoutW(a.window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF,
                                  SMTO_ABORTIFHUNG, 5000, &may_end),
              0);
    EXPECT_EQ(may_end, static_cast<DWORD_PTR>(FALSE)) << "A holds the sign-out";
    EXPECT_TRUE(a.program->wait_for_exit(15s))
        << "and lets go once its node has stopped, B's still running\n"
        << a.history();
    EXPECT_TRUE(process_id_runs(b_node));
    EXPECT_TRUE(b.shows_running());
    close(b.window);
    EXPECT_TRUE(b.program->wait_for_exit(10s));
    kill_processes(L"zv-e2e-daemon.exe");
    for (const std::wstring& name : {a.name, b.name, same.name}) {
        delete_section(name);
    }
}

// Whose node a process is, is asked again when a copy opens or closes. Q (no
// data folder) adopts a node started by hand in a console the user sees, and
// leaves it to the user to stop there; P (a data folder of its own) counts it
// as Q's. Q closes: P counts it as running, since nobody holds it now. Q
// opens again and takes it back: P counts it as Q's again.
TEST_F(WatcherEndToEnd, ACopyThatReopensTakesItsNodeBackAndTheOtherCopySeesIt) {
    const std::wstring node = stand_in(L"zv-e2e-daemon.exe", true);
    const Process terminal(L"C:\\windows\\system32\\cmd.exe", L"/k \"" + node + L"\"",
                           CREATE_NEW_CONSOLE);
    ASSERT_TRUE(stand_in_started(node));
    Copy q{L"NodeQ", L"", L"1000"};
    Copy p{L"NodeP", folder.file(L"data P"), L"6000"};
    CreateDirectoryW(p.data.c_str(), nullptr);
    q.store_and_open(folder, node);
    ASSERT_TRUE(wait_until([&] { return q.shows_running(); }, 8s));
    ASSERT_TRUE(wait_until([&] { return q.history().find("adopted") != std::string::npos; }, 5s))
        << q.history();
    p.store_and_open(folder, node);
    EXPECT_TRUE(wait_until([&] { return p.shows_stopped() && enabled(p.launch); }, 8s))
        << "Q's node\n"
        << p.history();

    choose_window_menu_command(q.window, layout, main_layout::stop_node);
    const std::wstring said = answer_next_box(q.program->id(), press_ok);
    EXPECT_NE(said.find(L"not started by ZV-KOB but by cmd.exe (process " +
                        std::to_wstring(terminal.id()) +
                        L"), and it runs in a console window "
                        L"you can see"),
              std::wstring::npos)
        << narrow(said);
    EXPECT_FALSE(wait_until([&] { return !process_runs(L"zv-e2e-daemon.exe"); }, 2s))
        << "Q pressed nothing";

    close(q.window);
    ASSERT_TRUE(q.program->wait_for_exit(10s));
    EXPECT_TRUE(wait_until([&] { return p.shows_running() && !enabled(p.launch); }, 5s))
        << "held by no copy now, it counts for P\n"
        << p.history();
    q.open(folder);
    EXPECT_TRUE(wait_until([&] { return q.shows_running(); }, 8s));
    EXPECT_TRUE(wait_until([&] { return p.shows_stopped() && enabled(p.launch); }, 8s))
        << "Q took it back\n"
        << p.history();
    for (Copy* copy : {&p, &q}) {
        close(copy->window);
        EXPECT_TRUE(copy->program->wait_for_exit(10s));
        delete_section(copy->name);
    }
    kill_processes(L"zv-e2e-daemon.exe");
}

// A stop the user asked for stays: a countdown that ran past zero with the
// node running is ended by Stop Node and starts nothing more. ZV-KOB started
// again right after it closed opens its window.
TEST_F(WatcherEndToEnd, AStopIsNotUndoneByAnOverrunningCountdownAndAStartAfterACloseOpens) {
    const std::wstring node = stand_in(L"zv-e2e-daemon.exe", true);
    const std::wstring data = folder.file(L"node data");
    CreateDirectoryW(data.c_str(), nullptr);
    const std::wstring batch = folder.file(L"ZVKOB-D.BAT");
    write_file(batch, "call \"" + narrow(node) + "\" -datadir=\"" + narrow(data) + "\"\r\n");
    store({{L"QT_NAME_TEXTBOX", L"zv-e2e-qt.exe"},
           {L"DAEMOND_NAME_TEXTBOX", L"zv-e2e-daemon.exe"},
           {L"BAT_DAEMON_RUN_COMMAND_TEXTBOX", batch},
           {L"USE_DAEMON_BAT_TICKBOX", L"1"},
           {L"BLOCKCHAIN_FOLDER_TEXTBOX", data}});
    HWND window = start_zv_kob();
    ASSERT_NE(window, nullptr);
    HWND display = control(window, layout, main_layout::countdown_display);
    HWND start_stop = control(window, layout, main_layout::start_stop_button);
    HWND launch = control(window, layout, main_layout::launch_button);
    HWND label = control(window, layout, main_layout::daemon_status);
    const auto node_runs = [] { return process_runs(L"zv-e2e-daemon.exe"); };
    ASSERT_TRUE(wait_until(
        [&] { return enabled(launch) && text(label) == L"!!! DAEMON STOPPED !!!"; }, 8s));
    click(launch);
    ASSERT_TRUE(wait_until([&] { return node_started_in(data) != 0; }, 15s));
    ASSERT_TRUE(wait_until([&] { return IsWindowEnabled(window) && !enabled(launch); }, 8s));
    click(start_stop);
    ASSERT_TRUE(wait_until([&] { return text(display) == L"03"; }, 25s))
        << "the countdown ran past zero with the node running";
    choose_window_menu_command(window, layout, main_layout::stop_node);
    ASSERT_TRUE(wait_until([&] { return !node_runs(); }, 10s));
    EXPECT_EQ(text(start_stop), L"START") << "Stop Node ended the countdown";
    // That the ended countdown starts nothing in the minutes after is
    // StopNode.EndsAnArmedOrOverrunningCountdown's, on a fake clock.
    EXPECT_FALSE(wait_until([&] { return node_runs() || text(start_stop) != L"START"; }, 3s))
        << "and the node stays stopped";

    close(window);
    ASSERT_TRUE(wait_until([&] { return IsWindow(window) == FALSE; }, 10s));
    const Process again(zv_kob_exe());  // while the closed copy may still write its history
    EXPECT_NE(wait_for_window(again.id(), main_caption, 15s), nullptr)
        << "a start right after a close opens a window";
    EXPECT_TRUE(program->wait_for_exit(10s));
    close(find_window(again.id(), main_caption));
    EXPECT_TRUE(again.wait_for_exit(10s));
}

// Stop Node closes a wallet as its user would: only the windows one sees. Its
// hidden helper (behind a notification-area icon) never gets a close; a
// wallet that only hides when closed is said to be in the notification area.
TEST_F(WatcherEndToEnd, StopNodeClosesOnlyTheWalletWindowsAUserSees) {
    const std::wstring wallet = stand_in(L"zv-e2e-qt.exe");
    const std::wstring batch = folder.file(L"ZVKOB-QT.BAT");
    store({{L"QT_NAME_TEXTBOX", L"zv-e2e-qt.exe"},
           {L"BAT_QT_RUN_COMMAND_TEXTBOX", batch},
           {L"USE_QT_BAT_TICKBOX", L"1"}});
    HWND window = start_zv_kob();
    ASSERT_NE(window, nullptr);
    HWND launch = control(window, layout, main_layout::launch_button);
    HWND qt_label = control(window, layout, main_layout::qt_status);
    const auto launch_the_wallet = [&](const std::string& arguments) {
        write_file(batch, "call \"" + narrow(wallet) + "\" --wallet-window" + arguments + "\r\n");
        ASSERT_TRUE(wait_until(
            [&] { return enabled(launch) && text(qt_label) == L"!!! QT STOPPED !!!"; }, 5s));
        click(launch);
        ASSERT_TRUE(wait_until([&] { return text(qt_label) == L"!!! QT RUNNING !!!"; }, 10s));
        ASSERT_TRUE(stand_in_started(wallet, 5s));
    };

    launch_the_wallet("");
    choose_window_menu_command(window, layout, main_layout::stop_node);
    EXPECT_TRUE(wait_until([] { return !process_runs(L"zv-e2e-qt.exe"); }, 10s))
        << "the wallet quits cleanly";
    EXPECT_FALSE(file_exists(wallet + L".helper-closed"));

    DeleteFileW((wallet + L".args").c_str());
    launch_the_wallet(" --hides-on-close");
    choose_window_menu_command(window, layout, main_layout::stop_node);
    ASSERT_TRUE(wait_until(
        [] {
            return FindWindowW(L"ZvKobStandInWallet", nullptr) != nullptr &&
                   !IsWindowVisible(FindWindowW(L"ZvKobStandInWallet", nullptr));
        },
        5s))
        << "it only hid its window";
    choose_window_menu_command(window, layout, main_layout::stop_node);
    EXPECT_NE(answer_next_box(program->id(), press_ok).find(L"runs in the notification area"),
              std::wstring::npos);
    EXPECT_TRUE(process_runs(L"zv-e2e-qt.exe"));
    EXPECT_NE(FindWindowW(L"ZvKobStandInHelper", nullptr), nullptr) << "its helper is intact";
    EXPECT_FALSE(file_exists(wallet + L".helper-closed"));
    kill_processes(L"zv-e2e-qt.exe");
    close(window);
    EXPECT_TRUE(program->wait_for_exit(10s));
}

// Whether a notice beside the notification area's icons (a balloon of the
// taskbar's, of whichever process) says this.
bool notice_shows(std::wstring_view words) {
    struct Search {
        std::wstring_view words;
        bool found = false;
    } search{words};
    EnumWindows(
        [](HWND window, LPARAM parameter) -> BOOL {
            auto& s = *reinterpret_cast<Search*>(parameter);
            wchar_t kind[64] = {};
            GetClassNameW(window, kind, 64);
            if (std::wstring_view(kind) == L"tooltips_class32" && IsWindowVisible(window) &&
                text(window).find(s.words) != std::wstring::npos) {
                s.found = true;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The node at a glance: while the node catches up, the status label's tooltip
// says how far it is, from the node's own log; once it has caught up, that it
// is synced, and what the node warns of. The history records the catch-up and
// the warning once, not each block. The log is found from the batch file's
// line that calls the node, after lines a user added by hand. While it
// catches up the PC is kept awake; once synced, its wallet is backed up
// through its RPC, and a folder gone is told.
TEST_F(WatcherEndToEnd, TheStatusLabelsTooltipSaysHowFarTheNodeIs) {
    const std::wstring node = stand_in(L"zv-e2e-qt.exe");
    const std::wstring data = folder.file(L"node data");
    CreateDirectoryW(data.c_str(), nullptr);
    const std::wstring batch = folder.file(L"ZVKOB-QT.BAT");
    const std::wstring conf = folder.file(L"node.conf");
    write_file(conf, "server=0\r\n");
    write_file(batch, "@echo off\r\ncd /d \"" + narrow(data) +
                          "\"\r\nset NODE_HOME=here\r\ncall \"" + narrow(node) + "\" -datadir=\"" +
                          narrow(data) + "\" -conf=\"" + narrow(conf) +
                          "\" --sync=926800-927012 --warn\r\n");
    const std::wstring backups = folder.file(L"wallet backups");
    CreateDirectoryW(backups.c_str(), nullptr);
    DeleteFileW(history_file(L"ZV-KOB").c_str());
    store({{L"QT_NAME_TEXTBOX", L"zv-e2e-qt.exe"},
           {L"BAT_QT_RUN_COMMAND_TEXTBOX", batch},
           {L"USE_QT_BAT_TICKBOX", L"1"},
           {L"AlwaysOnTopTimer_TICKBOX", L"1"},
           {L"KEEP_AWAKE", L"1"},
           {L"NOTIFICATION_AREA", L"1"},
           {L"BACKUP_FOLDER", backups}});
    HWND window = start_zv_kob();
    ASSERT_NE(window, nullptr);
    HWND launch = control(window, layout, main_layout::launch_button);
    HWND qt_label = control(window, layout, main_layout::qt_status);
    ASSERT_TRUE(
        wait_until([&] { return enabled(launch) && text(qt_label) == L"!!! QT STOPPED !!!"; }, 5s));
    click(launch);
    ASSERT_TRUE(wait_until([&] { return text(qt_label) == L"!!! QT RUNNING !!!"; }, 10s));

    std::wstring tip;
    EXPECT_TRUE(wait_until(
        [&] {
            tip = tooltip_of(qt_label);
            return tip.find(L"Catching up \u00B7 height 92") != std::wstring::npos &&
                   tip.find(L" %") != std::wstring::npos;
        },
        15s))
        << narrow(tip);
    EXPECT_TRUE(wait_until([] { return notice_shows(L"The node warns: Unknown new rules"); }, 10s))
        << "a quiet notice of the node's warning";
    EXPECT_TRUE(wait_until(
        [&] {
            tip = tooltip_of(qt_label);
            return tip.find(L"Synced \u00B7 height 927,012") != std::wstring::npos;
        },
        30s))
        << narrow(tip);
    EXPECT_NE(tip.find(L"\nThe node warns: Unknown new rules activated (versionbit 7)"),
              std::wstring::npos)
        << narrow(tip);
    EXPECT_NE(tip.find(L"\nthe node's RPC is off: progress from its log (the node runs with "
                       L"server=0)"),
              std::wstring::npos)
        << narrow(tip);
    // The PC is let sleep at the next look after the node is synced, before it stops.
    EXPECT_TRUE(wait_until(
        [] {
            return read_file(history_file(L"ZV-KOB"))
                       .find("ZV-KOB lets the PC sleep again: the node is synced.") !=
                   std::string::npos;
        },
        10s));
    write_file(node + L".stop", "");
    ASSERT_TRUE(wait_until([&] { return text(qt_label) == L"!!! QT STOPPED !!!"; }, 10s));

    // With -server the wallet program answers RPC, on ::1 only: another
    // program holds 127.0.0.1 on its port. Its warm-up, then its own figures
    // show, and Stop Node asks it there.
    const std::uint16_t port = free_loopback_port();
    TestSocket other_program(AF_INET);  // another program on 127.0.0.1 at the node's port
    ASSERT_EQ(other_program.bind_loopback(port, false), port);
    ASSERT_TRUE(other_program.listen_here());
    const std::string on_port = " -server --rpc -rpcport=" + std::to_string(port);
    write_file(batch, "call \"" + narrow(node) + "\" -datadir=\"" + narrow(data) + "\"" + on_port +
                          " --rpc-warmup=8 --sync=850000-850200 --sync-rate=10\r\n");
    click(launch);
    ASSERT_TRUE(wait_until([&] { return text(qt_label) == L"!!! QT RUNNING !!!"; }, 10s));
    const auto tip_shows = [&](std::wstring_view first, std::wstring_view second,
                               std::chrono::milliseconds deadline) {
        return wait_until(
            [&] {
                tip = tooltip_of(qt_label);
                return tip.find(first) != std::wstring::npos &&
                       tip.find(second) != std::wstring::npos;
            },
            deadline);
    };
    EXPECT_TRUE(tip_shows(L"Starting \u00B7 ", L"\u2026\nFrom the node's RPC", 10s))
        << "the node's warm-up message\n"
        << narrow(tip);
    EXPECT_TRUE(tip_shows(L"Catching up \u00B7 height 850,", L" of ~850,200 \u00B7 ", 20s))
        << narrow(tip);
    EXPECT_NE(tip.find(L" \u00B7 8 peers\nFrom the node's RPC"), std::wstring::npos) << narrow(tip);
    EXPECT_TRUE(tip_shows(L"Synced \u00B7 height 850,200 \u00B7 ",
                          L" \u00B7 8 peers\nFrom the node's RPC", 40s))
        << narrow(tip);
    choose_window_menu_command(window, layout, main_layout::stop_node);
    ASSERT_TRUE(wait_until([&] { return text(qt_label) == L"!!! QT STOPPED !!!"; }, 15s));
    EXPECT_NE(
        read_file(data + L"\\debug.log")
            .find("Binding RPC on address 127.0.0.1 port " + std::to_string(port) + " failed."),
        std::string::npos);
    EXPECT_FALSE(other_program.reached()) << "nothing, the cookie least, went to the other program";

    // A node that refuses ZV-KOB's credentials is followed by its log.
    write_file(batch, "call \"" + narrow(node) + "\" -datadir=\"" + narrow(data) + "\"" + on_port +
                          " --rpc-wrong-cookie --sync=850200-850200\r\n");
    click(launch);
    ASSERT_TRUE(wait_until([&] { return text(qt_label) == L"!!! QT RUNNING !!!"; }, 10s));
    EXPECT_TRUE(tip_shows(L"Synced \u00B7 height 850,200",
                          L"\nFrom the node's log; its RPC: the node refused ZV-KOB's credentials",
                          20s))
        << narrow(tip);
    write_file(node + L".stop", "");
    ASSERT_TRUE(wait_until([&] { return text(qt_label) == L"!!! QT STOPPED !!!"; }, 10s));

    // A node with a wallet: "Back Up Wallets…" asks it to write a copy to a
    // folder, and says so when the folder has gone before the node wrote.
    const std::uint16_t wallet_port = free_loopback_port();
    write_file(batch, "call \"" + narrow(node) + "\" -datadir=\"" + narrow(data) +
                          "\" -server --rpc -rpcport=" + std::to_string(wallet_port) +
                          " --rpc-wallet=e2e --sync=850200-850200\r\n");
    click(launch);
    ASSERT_TRUE(wait_until([&] { return text(qt_label) == L"!!! QT RUNNING !!!"; }, 10s));
    HWND dialog = open_backup_dialog(window, layout, program->id());
    ASSERT_NE(dialog, nullptr) << "offered once the node told its wallet";
    ASSERT_TRUE(choose_backup_folder(dialog, backups));
    std::wstring said = answer_next_box(program->id(), press_ok);
    const auto written_as = said.find(L"wallet \"e2e\": written as e2e-");
    ASSERT_NE(written_as, std::wstring::npos) << narrow(said);
    const std::wstring file = said.substr(said.find(L"e2e-", written_as), 25);  // e2e-<stamp>.dat
    EXPECT_EQ(read_file(backups + L"\\" + file), "stand-in wallet \"e2e\"\n") << narrow(file);
    EXPECT_EQ(read_section(L"ZV-KOB")[L"BACKUP_FOLDER"], backups);

    dialog = open_backup_dialog(window, layout, program->id());
    ASSERT_NE(dialog, nullptr);
    {
        // The stand-in answers one connection at a time: while this idle one
        // is open, ZV-KOB's call waits, as on a node that is slow to write.
        TestSocket held(AF_INET);
        ASSERT_TRUE(held.connect_loopback(wallet_port));
        ASSERT_TRUE(choose_backup_folder(dialog, backups));
        DeleteFileW((backups + L"\\" + file).c_str());
        RemoveDirectoryW(backups.c_str());
    }
    said = answer_next_box(program->id(), press_ok);
    EXPECT_NE(said.find(L"wallet \"e2e\": not written. The node says: Error: Wallet backup "
                        L"failed!"),
              std::wstring::npos)
        << narrow(said);
    EXPECT_NE(said.find(L"is not there (is its drive connected?)"), std::wstring::npos);
    write_file(node + L".stop", "");
    ASSERT_TRUE(wait_until([&] { return text(qt_label) == L"!!! QT STOPPED !!!"; }, 10s));
    ASSERT_TRUE(close_and_wait(window, *program));

    const std::string history = read_file(history_file(L"ZV-KOB"));
    // Its blocks are ten minutes apart up to now, so the first reading that
    // finds the tip under 90 minutes old says it caught up: 927,004 at the
    // earliest, the tip at the latest, whichever reading came first.
    const auto caught_up = history.find("caught up at height 927,0");
    ASSERT_NE(caught_up, std::string::npos) << history;
    const int height = std::stoi(history.substr(caught_up + 25, 2));
    EXPECT_TRUE(height >= 4 && height <= 12) << history;
    EXPECT_LE(times_in_history(L"ZV-KOB", "height 9"), 3U) << "no line per block\n" << history;
    const auto warned = history.find("The node warns: Unknown new rules activated");
    EXPECT_NE(warned, std::string::npos) << history;
    EXPECT_GT(history.find("The node warns:", warned + 1), history.find("LAUNCH", warned))
        << "once per run";
    for (const char* line :
         {"The node's RPC is off (the node runs with server=0): ZV-KOB follows "
          "its progress from its log.",
          "The node's RPC answers on port ", "caught up at height 850,200",
          "Stop Node asked the QT program (zv-e2e-qt.exe, process ", ") to stop over its RPC.",
          "The node's RPC: the node refused ZV-KOB's credentials",
          "Unknown new rules activated (versionbit 7). Newer versions of the node may be needed.",
          "Wallet backup failed: wallet \"e2e\""}) {
        EXPECT_NE(history.find(line), std::string::npos) << line << "\n" << history;
    }
    const auto held = history.find("ZV-KOB keeps the PC awake while the node catches up (by ");
    EXPECT_NE(held, std::string::npos) << history;
    EXPECT_NE(history.find("ZV-KOB lets the PC sleep again: the node is synced.", held),
              std::string::npos)
        << history;
    EXPECT_NE(history.find("Wallet backup written: wallet \"e2e\" to " + narrow(backups)),
              std::string::npos);
}

// Auto-close due while the settings window is open closes that window
// first, then ZV-KOB, once a node program runs.
TEST_F(WatcherEndToEnd, AutoCloseClosesTheSettingsWindowToo) {
    const std::wstring node = stand_in(L"zv-e2e-qt.exe");
    const std::wstring batch = folder.file(L"ZVKOB-QT.BAT");
    write_file(batch, "call \"" + narrow(node) + "\"\r\n");
    store({{L"QT_NAME_TEXTBOX", L"zv-e2e-qt.exe"},
           {L"BAT_QT_RUN_COMMAND_TEXTBOX", batch},
           {L"USE_QT_BAT_TICKBOX", L"1"},
           {L"AUTOSTART_TICKBOX", L"1"}});
    HWND window = start_zv_kob();
    ASSERT_NE(window, nullptr);
    HWND start_stop = control(window, layout, main_layout::start_stop_button);
    HWND auto_close = control(window, layout, main_layout::auto_close);
    ASSERT_TRUE(wait_until([&] { return process_runs(L"zv-e2e-qt.exe"); }, 20s))
        << "the countdown started the node; auto-close tests every ten seconds from now";
    ASSERT_TRUE(
        wait_until([&] { return text(start_stop) == L"STOP" && IsWindowEnabled(window); }, 8s));
    click(start_stop);
    ASSERT_TRUE(wait_until([&] { return enabled(auto_close); }, 3s));
    click(auto_close);
    ASSERT_TRUE(wait_until([&] { return checked(auto_close); }, 3s));
    click(control(window, layout, main_layout::settings_button));
    HWND settings = wait_for_window(program->id(), settings_caption);
    ASSERT_NE(settings, nullptr);
    EXPECT_TRUE(wait_until([&] { return !IsWindow(settings); }, 15s))
        << "auto-close closed the settings window";
    EXPECT_TRUE(program->wait_for_exit(5s)) << "and then ZV-KOB";
    EXPECT_EQ(read_section(L"ZV-KOB")[L"AUTOCLOSE_TIMER_TICKBOX"], L"1") << "saving its settings";
}

}  // namespace
}  // namespace zvkob::e2e
