// What watching costs, under wine or Windows. Not a test: it prints figures.
//
//   watcher_tick_benchmark ticks [COUNT]   how long one watcher tick (two
//       process queries, each over its own connection) keeps the user-interface
//       thread from the user, and how much of that the fresh connection costs
//   watcher_tick_benchmark watch [SECONDS]   runs a copy of the real ZV-KOB.exe
//       watching one running and one missing program, prints "watching" once
//       it shows both, then lets it watch for SECONDS (for an outside CPU and
//       memory account) and closes it
//   watcher_tick_benchmark watch-bare [SECONDS]   the same with bare_watcher,
//       the bare Win32 program ZV-KOB is measured against
//   watcher_tick_benchmark start [COUNT]   starts each of the two COUNT times,
//       in turns: time from process start to the window shown
//   watcher_tick_benchmark start-shaped [COUNT]   the same against shaped_watcher,
//       the bare watcher in ZV-KOB's shape (its manifest, its main window's controls)
//   watcher_tick_benchmark progress-on|progress-off [SECONDS]   a copy of
//       ZV-KOB launches a node that catches up at 100 heights a second and
//       watches it for SECONDS, with Show the Node's Progress on or off
//   watcher_tick_benchmark rpc-on|rpc-off [SECONDS]   the same, progress on,
//       with a node that serves RPC (on port 48443): asked by ZV-KOB, or not
//       (started without -server, its RPC counts as off)
#include <windows.h>
#include <psapi.h>
#include <wbemidl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <numeric>
#include <string>
#include <vector>

#include "driver.hpp"
#include "fakes.hpp"
#include "main_window/main_window_layout.hpp"
#include "guardian/flows/process_watcher.hpp"
#include "main_window/event_order.hpp"
#include "platform/win32/processes/com_apartment.hpp"
#include "platform/win32/processes/wmi_process_probe.hpp"

namespace zvkob::benchmark {
namespace {

using namespace zvkob::e2e;
using Milliseconds = std::chrono::duration<double, std::milli>;

constexpr wchar_t running_node[] = L"zv-bench-qt.exe";
constexpr wchar_t missing_node[] = L"zv-bench-daemon.exe";
constexpr wchar_t copy_name[] = L"ZV-KOB-Benchmark";

void print_times(const char* what, std::vector<double> times_ms) {
    std::sort(times_ms.begin(), times_ms.end());
    const double mean = std::accumulate(times_ms.begin(), times_ms.end(), 0.0) /
                        static_cast<double>(times_ms.size());
    std::printf("%-44s n=%zu median %.2f ms, p95 %.2f ms, worst %.2f ms, mean %.2f ms\n", what,
                times_ms.size(), times_ms[times_ms.size() / 2],
                times_ms[times_ms.size() * 95 / 100], times_ms.back(), mean);
}

// Times `step` `count` times, a little apart as the watcher's ticks are.
std::vector<double> time_each(int count, const std::function<void()>& step) {
    std::vector<double> times;
    for (int i = 0; i < count; ++i) {
        const auto start = e2e::Clock::now();
        step();
        times.push_back(Milliseconds(e2e::Clock::now() - start).count());
        Sleep(20);
    }
    return times;
}

IWbemServices* connect() {
    IWbemLocator* locator = nullptr;
    IWbemServices* services = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER,
                                   IID_IWbemLocator, reinterpret_cast<void**>(&locator)))) {
        BSTR space = SysAllocString(L"ROOT\\CIMV2");
        locator->ConnectServer(space, nullptr, nullptr, nullptr, 0, nullptr, nullptr, &services);
        SysFreeString(space);
        locator->Release();
    }
    return services;
}

void query_on(IWbemServices* services) {
    BSTR language = SysAllocString(L"WQL");
    BSTR query = SysAllocString(L"SELECT Name FROM Win32_Process WHERE Name='zv-bench-qt.exe'");
    IEnumWbemClassObject* matches = nullptr;
    if (SUCCEEDED(services->ExecQuery(language, query,
                                      WBEM_FLAG_FORWARD_ONLY | WBEM_FLAG_RETURN_IMMEDIATELY,
                                      nullptr, &matches))) {
        IWbemClassObject* match = nullptr;
        ULONG returned = 0;
        matches->Next(5000, 1, &match, &returned);
        if (match != nullptr) {
            match->Release();
        }
        matches->Release();
    }
    SysFreeString(query);
    SysFreeString(language);
}

int measure_ticks(int count) {
    win32::ComApartment com;
    ScratchFolder folder(L"benchmark-ticks");
    stand_in(folder.file(running_node));
    Process node(folder.file(running_node));

    testing::MainWindowFixture fakes;
    win32::WmiProcessProbe probe;
    MainWindow window(fakes.services_with(probe), "benchmark");
    window.qt.image = narrow(running_node);
    window.daemon.image = narrow(missing_node);
    for (int warm = 0; warm < 5; ++warm) {
        process_watcher_tick(window);
    }
    if (!window.qt.status.running() || !window.daemon.status.stopped()) {
        std::printf("the watcher does not see the stand-in node: %s\n",
                    window.qt.status.label().tooltip().c_str());
        return 1;
    }
    print_times("watcher tick (two queries, fresh connections)",
                time_each(count, [&] { process_watcher_tick(window); }));
    print_times("  one connection alone", time_each(count, [] {
                    if (IWbemServices* services = connect()) {
                        services->Release();
                    }
                }));
    IWbemServices* held = connect();
    print_times("  one query on a held connection", time_each(count, [held] { query_on(held); }));
    held->Release();
    return 0;
}

double cpu_seconds(HANDLE process) {
    FILETIME created{}, exited{}, kernel{}, user{};
    GetProcessTimes(process, &created, &exited, &kernel, &user);
    const auto seconds = [](FILETIME t) {
        return static_cast<double>((static_cast<unsigned long long>(t.dwHighDateTime) << 32) |
                                   t.dwLowDateTime) /
               1e7;
    };
    return seconds(kernel) + seconds(user);
}

// The program to watch with: the build's, or the one ZVKOB_BENCHMARK_EXE names
// (a Windows path, e.g. of the release build).
std::wstring program_under_test() {
    wchar_t path[MAX_PATH] = {};
    if (GetEnvironmentVariableW(L"ZVKOB_BENCHMARK_EXE", path, MAX_PATH) > 0) {
        return path;
    }
    return zv_kob_exe();
}

// Private memory as Windows accounts it, in KiB (0 where wine does not say).
unsigned long long private_kib(HANDLE process) {
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                              sizeof counters)) {
        return 0;
    }
    return counters.PrivateUsage / 1024;
}

// A program that watches one running and one missing program: how it is
// started, and how it shows that it has seen both.
struct Watcher {
    std::wstring name;
    std::wstring exe;
    std::wstring arguments;
    std::wstring caption;
    std::function<bool(HWND)> sees_both;
    // What it is asked to do once its window shows, before it is watched.
    std::function<bool(HWND)> get_going = [](HWND) { return true; };
    // What it is asked once it has been watched.
    std::function<void(HWND)> at_end = [](HWND) {};
};

// A copy of ZV-KOB set to watch the stand-in node and a missing program.
Watcher zv_kob_watcher(const ScratchFolder& folder) {
    const std::wstring copy = folder.file(std::wstring(copy_name) + L".exe");
    copy_file(program_under_test(), copy);
    delete_section(copy_name);
    write_setting(copy_name, L"QT_NAME_TEXTBOX", running_node);
    write_setting(copy_name, L"DAEMOND_NAME_TEXTBOX", missing_node);
    return {L"ZV-KOB (a copy of " + program_under_test() + L")", copy, L"",
            L"TARLOWEN - ZV-KOB - " + std::wstring(copy_name), [](HWND window) {
                const WindowSpec& layout = main_window_layout();
                return text(control(window, layout, main_layout::qt_status)) ==
                           L"!!! QT RUNNING !!!" &&
                       text(control(window, layout, main_layout::daemon_status)) ==
                           L"!!! DAEMON STOPPED !!!";
            }};
}

const std::wstring both_seen =
    std::wstring(running_node) + L" running, " + missing_node + L" stopped";

Watcher bare_watcher() {
    return {L"the bare watcher", windows_path(ZVKOB_BARE_WATCHER_EXE),
            std::wstring(running_node) + L" " + missing_node, L"bare watcher", [](HWND window) {
                return text(FindWindowExW(window, nullptr, L"STATIC", nullptr)) == both_seen;
            }};
}

// Its line is the label where ZV-KOB shows the first program's state.
Watcher shaped_watcher() {
    return {L"the shaped watcher", windows_path(ZVKOB_SHAPED_WATCHER_EXE),
            std::wstring(running_node) + L" " + missing_node, L"shaped watcher", [](HWND window) {
                return text(control(window, main_window_layout(), main_layout::qt_status)) ==
                       both_seen;
            }};
}

int watch(const Watcher& watcher, int seconds) {
    std::printf("program under test: %s\n", narrow(watcher.name).c_str());
    Process program(watcher.exe, watcher.arguments);
    HWND window = wait_for_window(program.id(), watcher.caption);
    if (window == nullptr || !watcher.get_going(window) ||
        !wait_until([&] { return watcher.sees_both(window); }, 10s)) {
        std::printf("%s did not show both programs' states\n", narrow(watcher.name).c_str());
        return 1;
    }
    const win32::KernelHandle process(
        OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, program.id()));
    const double cpu_before = cpu_seconds(process.get());
    const unsigned long long memory_before = private_kib(process.get());
    std::printf("watching\n");
    std::fflush(stdout);
    Sleep(static_cast<DWORD>(seconds) * 1000);
    const double cpu_used = cpu_seconds(process.get()) - cpu_before;
    std::printf(
        "private memory (GetProcessMemoryInfo): %llu KiB at the start, %llu KiB after %d s%s\n",
        memory_before, private_kib(process.get()), seconds,
        memory_before == 0 ? " (wine does not account it here)" : "");
    std::printf("own account (GetProcessTimes): %.2f s of CPU in %d s = %.2f%% of one core%s\n",
                cpu_used, seconds, 100.0 * cpu_used / seconds,
                cpu_used == 0 ? " (wine does not account another process's CPU here)" : "");
    watcher.at_end(window);
    close(window);
    return program.wait_for_exit(10s) ? 0 : 1;
}

int child_windows(HWND window) {
    int count = 0;
    EnumChildWindows(
        window,
        [](HWND, LPARAM counted) {
            ++*reinterpret_cast<int*>(counted);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&count));
    return count;
}

struct Start {
    double shown_ms = -1;  // negative when it did not come
    double answered_ms = -1;
    int child_windows = 0;
};

// Milliseconds from just before the process is created to its window shown,
// and to the states of both programs shown.
Start start_once(const Watcher& watcher) {
    const auto started = e2e::Clock::now();
    const auto since = [started] { return Milliseconds(e2e::Clock::now() - started).count(); };
    Process program(watcher.exe, watcher.arguments);
    const auto deadline = started + 20s;
    HWND window = nullptr;
    while (e2e::Clock::now() < deadline &&
           ((window = find_window(program.id(), watcher.caption)) == nullptr ||
            !IsWindowVisible(window))) {
        Sleep(1);
    }
    const double shown = window != nullptr && IsWindowVisible(window) ? since() : -1;
    while (e2e::Clock::now() < deadline && shown >= 0 && !watcher.sees_both(window)) {
        Sleep(1);
    }
    const double answered = shown >= 0 && watcher.sees_both(window) ? since() : -1;
    const int children = window != nullptr ? child_windows(window) : 0;
    if (window != nullptr) {
        close(window);
    }
    program.wait_for_exit(10s);
    return {shown, answered, children};
}

// ZV-KOB and a yardstick each started `count` times, in turns, after one start
// of each that is not counted (wine's first start of a program reads more from
// disk).
int compare_starts(int count, const Watcher& yardstick, const char* aim) {
    ScratchFolder folder(L"benchmark-start");
    stand_in(folder.file(running_node));
    Process node(folder.file(running_node));
    const std::vector<Watcher> watchers{zv_kob_watcher(folder), yardstick};
    std::vector<std::vector<double>> shown(watchers.size());
    std::vector<std::vector<double>> answered(watchers.size());
    std::vector<int> children(watchers.size());
    for (int round = -1; round < count; ++round) {
        for (std::size_t which = 0; which < watchers.size(); ++which) {
            const Start start = start_once(watchers[which]);
            if (start.shown_ms < 0 || start.answered_ms < 0) {
                std::printf("%s did not show both programs' states\n",
                            narrow(watchers[which].name).c_str());
                return 1;
            }
            if (round >= 0) {
                shown[which].push_back(start.shown_ms);
                answered[which].push_back(start.answered_ms);
            }
            children[which] = start.child_windows;
        }
    }
    for (std::size_t which = 0; which < watchers.size(); ++which) {
        std::printf("%s, %d child windows\n", narrow(watchers[which].name).c_str(),
                    children[which]);
        print_times("  start to window shown", shown[which]);
        print_times("  start to both states shown", answered[which]);
    }
    std::sort(shown[0].begin(), shown[0].end());
    std::sort(shown[1].begin(), shown[1].end());
    std::printf("start to window shown, ZV-KOB / %s (medians): %.2f%s\n",
                narrow(yardstick.name).c_str(),
                shown[0][shown[0].size() / 2] / shown[1][shown[1].size() / 2], aim);
    delete_section(copy_name);
    return 0;
}

int watch_with(bool bare, int seconds) {
    ScratchFolder folder(L"benchmark-watch");
    stand_in(folder.file(running_node));
    Process node(folder.file(running_node));
    const int result = watch(bare ? bare_watcher() : zv_kob_watcher(folder), seconds);
    delete_section(copy_name);
    return result;
}

// A copy of ZV-KOB that launches, through its batch file, a node catching up
// at 100 heights a second (an UpdateTip line each in its debug.log) and
// follows it, with Show the Node's Progress on or off.
int follow_progress(bool on, int seconds, std::string_view rpc_options = "") {
    ScratchFolder folder(L"benchmark-progress");
    stand_in(folder.file(running_node));
    const std::wstring batch = folder.file(L"ZVKOB-QT.BAT");
    write_file(batch, "call \"" + narrow(folder.file(running_node)) + "\" -datadir=\"" +
                          narrow(folder.path()) + "\" --sync=800000-1000000 --sync-rate=100" +
                          std::string(rpc_options) + "\r\n");
    const bool asked = rpc_options.find("-server") != std::string_view::npos;
    Watcher watcher = zv_kob_watcher(folder);
    write_setting(copy_name, L"USE_QT_BAT_TICKBOX", L"1");
    write_setting(copy_name, L"BAT_QT_RUN_COMMAND_TEXTBOX", batch);
    write_setting(copy_name, L"NODE_PROGRESS", on ? L"1" : L"0");
    // ZVKOB_BENCHMARK_TICKS: more guarding ticks on, "KEEP_AWAKE,BATTERY_STOP".
    if (const char* ticks = std::getenv("ZVKOB_BENCHMARK_TICKS"); ticks != nullptr) {
        std::string_view rest = ticks;
        while (!rest.empty()) {
            const std::string_view key = rest.substr(0, rest.find(','));
            rest.remove_prefix(std::min(rest.size(), key.size() + 1));
            if (!key.empty()) {
                write_setting(copy_name, widen(key), L"1");
                std::printf("%.*s on\n", static_cast<int>(key.size()), key.data());
            }
        }
    }
    std::printf("Show the Node's Progress %s; the node writes 100 UpdateTip lines a second\n",
                on ? "on" : "off");
    watcher.get_going = [on, asked](HWND window) {
        const WindowSpec& layout = main_window_layout();
        const HWND label = control(window, layout, main_layout::qt_status);
        if (!wait_until([&] { return text(label) == L"!!! QT STOPPED !!!"; }, 10s)) {
            return false;
        }
        click(control(window, layout, main_layout::launch_button));
        if (!wait_until([&] { return text(label) == L"!!! QT RUNNING !!!"; }, 15s)) {
            return false;
        }
        if (on && !wait_until([&] { return tooltip_of(label).find(L"Catching up") == 0; }, 20s)) {
            return false;
        }
        if (asked && !wait_until(
                         [&] {
                             return tooltip_of(label).find(L"From the node's RPC") !=
                                    std::wstring::npos;
                         },
                         20s)) {
            return false;
        }
        std::printf("status label's tooltip: %s\n", narrow(tooltip_of(label)).c_str());
        return true;
    };
    watcher.at_end = [](HWND window) {
        const HWND label = control(window, main_window_layout(), main_layout::qt_status);
        std::printf("status label's tooltip at the end: %s\n", narrow(tooltip_of(label)).c_str());
    };
    const int result = watch(watcher, seconds);
    kill_processes(running_node);
    delete_section(copy_name);
    return result;
}

}  // namespace
}  // namespace zvkob::benchmark

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "ticks";
    const int amount = argc > 2 ? std::atoi(argv[2]) : 0;
    if (mode == "ticks") {
        return zvkob::benchmark::measure_ticks(amount > 0 ? amount : 200);
    }
    if (mode == "watch" || mode == "watch-bare") {
        return zvkob::benchmark::watch_with(mode == "watch-bare", amount > 0 ? amount : 65);
    }
    if (mode == "progress-on" || mode == "progress-off") {
        return zvkob::benchmark::follow_progress(mode == "progress-on", amount > 0 ? amount : 65);
    }
    if (mode == "ticks-on") {  // the node's RPC asked, with ZVKOB_BENCHMARK_TICKS on too
        return zvkob::benchmark::follow_progress(true, amount > 0 ? amount : 65,
                                                 " --rpc -rpcport=48443 -server");
    }
    if (mode == "rpc-on" || mode == "rpc-off") {
        return zvkob::benchmark::follow_progress(
            true, amount > 0 ? amount : 65,
            mode == "rpc-on" ? " --rpc -rpcport=48443 -server" : " --rpc -rpcport=48443");
    }
    if (mode == "start" || mode == "start-shaped") {
        const bool shaped = mode == "start-shaped";
        return zvkob::benchmark::compare_starts(
            amount > 0 ? amount : 10,
            shaped ? zvkob::benchmark::shaped_watcher() : zvkob::benchmark::bare_watcher(),
            shaped ? " (at most 1.30 x is the aim)" : "");
    }
    std::printf(
        "usage: watcher_tick_benchmark ticks [COUNT] | watch [SECONDS] | watch-bare [SECONDS] | "
        "start [COUNT] | start-shaped [COUNT] | progress-on [SECONDS] | progress-off [SECONDS] | "
        "rpc-on [SECONDS] | ticks-on [SECONDS] | "
        "rpc-off [SECONDS]\n");
    return 2;
}
