// The battery stop as the real ZV-KOB.exe does it under wine, on the made-up
// battery of tests/support/fake_battery.sh (made_up_battery.hpp).
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>

#include "driver.hpp"
#include "loopback_sockets.hpp"
#include "made_up_battery.hpp"
#include "main_window/main_window_layout.hpp"

namespace zvkob::e2e {
namespace {

const WindowSpec& layout = main_window_layout();

bool counting_down(HWND display) {
    const std::wstring shown = text(display);
    return shown.size() == 2 && shown != L"--";
}

// A synced node answering its RPC: with 30 minutes left nothing happens; with
// 4 minutes left, two readings in a row, it is stopped over its RPC, with
// its history line; back on mains for a minute the countdown starts it
// again, and Auto Close (ticked, with Keep Node Running off) leaves ZV-KOB
// open. Stopped by hand on battery, then the battery low again and mains
// back: it is not started.
TEST(PowerEndToEnd, StopsTheNodeBeforeTheBatteryRunsOutAndStartsItAgainOnMains) {
    if (std::getenv("ZVKOB_FAKE_BATTERY") == nullptr) {
        GTEST_SKIP() << "runs under tests/support/fake_battery.sh";
    }
    charging_on_mains();
    ScratchFolder folder(L"power e2e");
    const std::wstring node = stand_in(folder.file(L"zv-e2e-qt.exe"));
    const std::wstring data = folder.file(L"node data");
    CreateDirectoryW(data.c_str(), nullptr);
    const std::wstring batch = folder.file(L"ZVKOB-QT.BAT");
    write_file(batch, "call \"" + narrow(node) + "\" -datadir=\"" + narrow(data) +
                          "\" -server --rpc -rpcport=" + std::to_string(free_loopback_port()) +
                          " --sync=850000-850010\r\n");
    std::unique_ptr<Process> program;
    HWND window =
        launch_qt_stand_in(program, batch, {{L"KEEP_NODE_RUNNING", L"1"}, {L"BATTERY_STOP", L"1"}});
    ASSERT_NE(window, nullptr);
    HWND label = control(window, layout, main_layout::qt_status);
    HWND display = control(window, layout, main_layout::countdown_display);
    const auto node_runs = [] { return process_runs(L"zv-e2e-qt.exe"); };
    const auto history = [] { return read_file(history_file(L"ZV-KOB")); };
    const auto synced_over_rpc = [&] {
        std::wstring tip;
        const bool synced = wait_until(
            [&] {
                tip = tooltip_of(label);
                return tip.find(L"Synced") != std::wstring::npos &&
                       tip.find(L"From the node's RPC") != std::wstring::npos;
            },
            20s);
        EXPECT_TRUE(synced) << narrow(tip);
        return synced;
    };
    ASSERT_TRUE(wait_until([&] { return text(label) == L"!!! QT RUNNING !!!"; }, 10s)) << history();
    ASSERT_TRUE(synced_over_rpc());

    thirty_minutes_left();
    power_changed(window);
    power_changed(window);
    std::wstring tip;
    EXPECT_TRUE(wait_until(
        [&] {
            tip = tooltip_of(label);
            return tip.find(
                       L"On battery (60 %, about 30 min): the node stops cleanly at 25 % "
                       L"or with about 5 minutes left") != std::wstring::npos;
        },
        10s))
        << narrow(tip);
    EXPECT_TRUE(node_runs()) << "30 minutes left: nothing";

    four_minutes_left();
    power_changed(window);  // the second reading in a row is the next 30 s one
    ASSERT_TRUE(wait_until([&] { return !node_runs(); }, 45s)) << history();
    EXPECT_NE(read_file(data + L"\\debug.log").find("Shutdown: done"), std::string::npos);
    for (const char* line :
         {"Stop Node Before the Battery Runs Out asked the QT program (zv-e2e-qt.exe, process ",
          ") to stop over its RPC.",
          "On battery with about 4 minutes left: ZV-KOB stopped the node, which takes about 2 "
          "minutes to stop once synced (none of its stops was measured yet).",
          "as ZV-KOB asked it to; it is left stopped."}) {
        EXPECT_TRUE(wait_until([&] { return history().find(line) != std::string::npos; }, 5s))
            << line << "\n"
            << history();
    }

    // The mains restart is ZV-KOB's own start: Auto Close leaves it alone.
    choose_window_menu_command(window, layout, main_layout::keep_node_running);
    click(control(window, layout, main_layout::auto_start));
    click(control(window, layout, main_layout::auto_close));
    charging_on_mains();
    const auto mains_seen = std::chrono::steady_clock::now();
    ASSERT_TRUE(on_mains_until(
        window, [&] { return counting_down(display); }, 90s))
        << history();
    EXPECT_GE(std::chrono::steady_clock::now() - mains_seen, 58s) << "after a minute on mains";
    EXPECT_NE(history().find("Back on mains power: ZV-KOB starts the node again"),
              std::string::npos);
    ASSERT_TRUE(wait_until(node_runs, 20s)) << "the countdown starts it";
    ASSERT_TRUE(synced_over_rpc());
    EXPECT_FALSE(wait_until([&] { return IsWindow(window) == FALSE; }, 15s))
        << "Auto Close checks ten seconds after a start: ZV-KOB stays open\n"
        << history();

    // Stopped by hand on battery: mains power does not start it.
    thirty_minutes_left();
    power_changed(window);
    choose_window_menu_command(window, layout, main_layout::stop_node);
    ASSERT_TRUE(wait_until([&] { return !node_runs(); }, 15s)) << history();
    four_minutes_left();  // the battery runs low again
    power_changed(window);
    charging_on_mains();
    // That it stays stopped through the minute on mains and after is
    // BatteryStop.NeverStartsANodeItDidNotStopForPower's, on a fake clock.
    EXPECT_FALSE(on_mains_until(
        window, [&] { return counting_down(display) || node_runs(); }, 5s))
        << history();
    EXPECT_EQ(times_in_history(L"ZV-KOB", "Back on mains power"), 1U);
    ASSERT_TRUE(close_and_wait(window, *program));
    delete_section(L"ZV-KOB");
}

}  // namespace
}  // namespace zvkob::e2e
