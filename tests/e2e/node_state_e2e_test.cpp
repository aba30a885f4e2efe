// The node's one state, from its log and its RPC together, as the real
// ZV-KOB.exe shows it under wine: a node whose tip is nine hours old after a
// night's sleep, and the PC woken as Windows tells it.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "driver.hpp"
#include "loopback_sockets.hpp"
#include "main_window/main_window_layout.hpp"

namespace zvkob::e2e {
namespace {

const WindowSpec& layout = main_window_layout();

bool history_holds(std::string_view text) {
    return times_in_history(L"ZV-KOB", text) != 0;
}

// A stand-in node that caught up to a tip nine hours old, its log's new
// blocks dated so too, and answers initialblockdownload false, without the
// tip's time in getblockchaininfo (so that its header is asked): the state
// of a node whose PC slept through the night. The tooltip says it catches
// up, the PC is held awake; a resume sent as Windows sends it has the node
// asked again, told once.
TEST(NodeStateEndToEnd, ANineHourOldTipIsCaughtUpWithThePcHeldAwake) {
    ScratchFolder folder(L"node state e2e");
    const std::wstring node = stand_in(folder.file(L"zv-e2e-qt.exe"));
    const std::wstring data = folder.file(L"node data");
    CreateDirectoryW(data.c_str(), nullptr);
    const std::wstring batch = folder.file(L"ZVKOB-QT.BAT");
    write_file(batch, "call \"" + narrow(node) + "\" -datadir=\"" + narrow(data) +
                          "\" -server --rpc -rpcport=" + std::to_string(free_loopback_port()) +
                          " --sync=850000-850010 --sync-rate=20 --tip-hours-old=9"
                          " --rpc-no-tip-time\r\n");
    std::unique_ptr<Process> program;
    HWND window = launch_qt_stand_in(program, batch, {{L"KEEP_AWAKE", L"1"}});
    ASSERT_NE(window, nullptr);
    HWND qt_label = control(window, layout, main_layout::qt_status);
    ASSERT_TRUE(wait_until([&] { return text(qt_label) == L"!!! QT RUNNING !!!"; }, 10s));

    std::wstring tip;
    EXPECT_TRUE(wait_until(
        [&] {
            tip = tooltip_of(qt_label);
            return tip.find(L"Catching up \u00B7 height 850,010 \u00B7 ") != std::wstring::npos &&
                   tip.find(L" \u00B7 9 hours behind \u00B7 8 peers\nFrom the node's RPC") !=
                       std::wstring::npos;
        },
        20s))
        << narrow(tip);
    EXPECT_TRUE(wait_until(
        [] { return history_holds("ZV-KOB keeps the PC awake while the node catches up (by "); },
        10s));
    EXPECT_FALSE(history_holds("ZV-KOB lets the PC sleep again")) << "it catches up";

    DWORD_PTR answer = 0;
    for (const WPARAM resumed : {PBT_APMRESUMEAUTOMATIC, PBT_APMRESUMESUSPEND}) {
        ASSERT_NE(SendMessageTimeoutW(window, WM_POWERBROADCAST, resumed, 0, SMTO_ABORTIFHUNG, 5000,
                                      &answer),
                  0);
        EXPECT_EQ(answer, static_cast<DWORD_PTR>(TRUE));
    }
    EXPECT_TRUE(wait_until(
        [] {
            return history_holds(
                "The PC woke from sleep: ZV-KOB asks the node for its state again.");
        },
        10s));
    EXPECT_EQ(times_in_history(L"ZV-KOB", "The PC woke from sleep"), 1U) << "one wake, told once";

    write_file(node + L".stop", "");
    ASSERT_TRUE(wait_until([&] { return text(qt_label) == L"!!! QT STOPPED !!!"; }, 10s));
    EXPECT_TRUE(wait_until(
        [] { return history_holds("ZV-KOB lets the PC sleep again: the node has stopped."); },
        10s));
    ASSERT_TRUE(close_and_wait(window, *program));
    delete_section(L"ZV-KOB");
}

// The node's CPU priority class, as GetPriorityClass reads it; 0 when it cannot.
DWORD priority_class_of(DWORD process_id) {
    const HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, process_id);
    if (process == nullptr) {
        return 0;
    }
    const DWORD priority = GetPriorityClass(process);
    CloseHandle(process);
    return priority;
}

// Run the Node at Low Priority: the node this copy starts runs below normal
// (wine ignores the interpreter's class: the node's own handle is set), the
// tick cleared restores normal, ticked again lowers it at once.
TEST(NodeStateEndToEnd, TheNodeRunsAtLowPriorityWhileTheTickIsOn) {
    ScratchFolder folder(L"node priority e2e");
    const std::wstring node = stand_in(folder.file(L"zv-e2e-qt.exe"));
    const std::wstring data = folder.file(L"node data");
    CreateDirectoryW(data.c_str(), nullptr);
    const std::wstring batch = folder.file(L"ZVKOB-QT.BAT");
    write_file(batch, "call \"" + narrow(node) + "\" -datadir=\"" + narrow(data) + "\"\r\n");
    std::unique_ptr<Process> program;
    HWND window = launch_qt_stand_in(program, batch, {{L"NODE_LOW_PRIORITY", L"1"}});
    ASSERT_NE(window, nullptr);
    HWND qt_label = control(window, layout, main_layout::qt_status);
    DWORD node_id = 0;
    ASSERT_TRUE(wait_until(
        [&] {
            const std::string log = read_file(data + L"\\debug.log");
            const auto at = log.rfind("started, process ");
            node_id = at == std::string::npos ? 0 : std::stoul(log.substr(at + 17));
            return node_id != 0;
        },
        10s));
    EXPECT_TRUE(
        wait_until([&] { return priority_class_of(node_id) == BELOW_NORMAL_PRIORITY_CLASS; }, 5s))
        << "the tick on: " << priority_class_of(node_id);
    choose_window_menu_command(window, layout, main_layout::low_priority);
    EXPECT_TRUE(wait_until([&] { return priority_class_of(node_id) == NORMAL_PRIORITY_CLASS; }, 5s))
        << "cleared: " << priority_class_of(node_id);
    choose_window_menu_command(window, layout, main_layout::low_priority);
    EXPECT_TRUE(
        wait_until([&] { return priority_class_of(node_id) == BELOW_NORMAL_PRIORITY_CLASS; }, 5s))
        << "ticked again: " << priority_class_of(node_id);
    EXPECT_EQ(read_section(L"ZV-KOB").at(L"NODE_LOW_PRIORITY"), L"1");
    write_file(node + L".stop", "");
    ASSERT_TRUE(wait_until([&] { return text(qt_label) == L"!!! QT STOPPED !!!"; }, 10s));
    ASSERT_TRUE(close_and_wait(window, *program));
    delete_section(L"ZV-KOB");
}

}  // namespace
}  // namespace zvkob::e2e
