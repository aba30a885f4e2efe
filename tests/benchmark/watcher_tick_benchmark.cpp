// What watching costs, under wine or Windows. Not a test: it prints figures.
//
//   watcher_tick_benchmark ticks [COUNT]   how long one watcher tick (two
//       process queries, each over its own connection) keeps the user-interface
//       thread from the user, and how much of that the fresh connection costs
//   watcher_tick_benchmark watch [SECONDS]   runs a copy of the real ZV-KOB.exe
//       watching one running and one missing program, prints "watching" once
//       it shows both, then lets it watch for SECONDS (for an outside CPU
//       account) and closes it
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
#include "main_window/process_watcher.hpp"
#include "platform/win32/com_apartment.hpp"
#include "platform/win32/wmi_process_probe.hpp"

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
    copy_file(stand_in_node_exe(), folder.file(running_node));
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

int watch(int seconds) {
    ScratchFolder folder(L"benchmark-watch");
    copy_file(stand_in_node_exe(), folder.file(running_node));
    Process node(folder.file(running_node));
    const std::wstring copy = folder.file(std::wstring(copy_name) + L".exe");
    copy_file(program_under_test(), copy);
    std::printf("program under test: a copy of %s\n", narrow(program_under_test()).c_str());
    delete_section(copy_name);
    write_setting(copy_name, L"QT_NAME_TEXTBOX", running_node);
    write_setting(copy_name, L"DAEMOND_NAME_TEXTBOX", missing_node);

    Process program(copy);
    const WindowSpec& layout = main_window_layout();
    HWND window = wait_for_window(program.id(), L"TARLOWEN - ZV-KOB - ZV-KOB-Benchmark");
    const bool shown = window != nullptr &&
                       wait_until(
                           [&] {
                               return text(control(window, layout, main_layout::qt_status)) ==
                                          L"!!! QT RUNNING !!!" &&
                                      text(control(window, layout, main_layout::daemon_status)) ==
                                          L"!!! DAEMON STOPPED !!!";
                           },
                           10s);
    if (!shown) {
        std::printf("ZV-KOB did not show both programs' states\n");
        return 1;
    }
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, program.id());
    const double cpu_before = cpu_seconds(process);
    const unsigned long long memory_before = private_kib(process);
    std::printf("watching\n");
    std::fflush(stdout);
    Sleep(static_cast<DWORD>(seconds) * 1000);
    const double cpu_used = cpu_seconds(process) - cpu_before;
    std::printf(
        "ZV-KOB's private memory (GetProcessMemoryInfo): %llu KiB at the start, %llu KiB "
        "after %d s\n",
        memory_before, private_kib(process), seconds);
    CloseHandle(process);
    std::printf(
        "ZV-KOB's own account (GetProcessTimes): %.2f s of CPU in %d s = %.2f%% of one core%s\n",
        cpu_used, seconds, 100.0 * cpu_used / seconds,
        cpu_used == 0 ? " (wine does not account another process's CPU here)" : "");
    close(window);
    const bool ended = program.wait_for_exit(10s);
    delete_section(copy_name);
    return ended ? 0 : 1;
}

}  // namespace
}  // namespace zvkob::benchmark

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "ticks";
    const int amount = argc > 2 ? std::atoi(argv[2]) : 0;
    if (mode == "ticks") {
        return zvkob::benchmark::measure_ticks(amount > 0 ? amount : 200);
    }
    if (mode == "watch") {
        return zvkob::benchmark::watch(amount > 0 ? amount : 65);
    }
    std::printf("usage: watcher_tick_benchmark ticks [COUNT] | watch [SECONDS]\n");
    return 2;
}
