// A stand-in for a node program in tests. It writes the arguments it was
// given, one per line in UTF-8, to "<its own path>.args", then keeps running
// until a file "<its own path>.stop" appears (which it removes) or it is
// killed. Copied under another file name it has that image name.
//
// It keeps a node's log, debug.log, where a node keeps it: in the folder of
// its -datadir argument, or of the datadir= line of the file its -conf names;
// below it in testnet3 with -testnet; or at -debuglogfile=<absolute path>.
// Each start writes empty lines, a version line and a line with its process
// number; a stop by the file writes the shutdown lines of a node that stops
// cleanly, "Shutdown: In progress..." and "Shutdown: done" (with --v30 the
// newer "Shutdown in progress..." and "Shutdown done"; with --fatal-disk a
// fatal disk error first, and it exits with 1; with --stop-seconds=<n> the done
// line comes n seconds after the first). Killed, it writes nothing more.
// With --sync=<from>-<to> it catches up from one height to the other first,
// twenty heights a second, or as many as --sync-rate=<per second> says.
//
// With --rpc it also serves the node's RPC on the loopback (see
// stand_in_rpc_server.hpp), and catches up only once its warm-up is over.
//
// Started with --topmost-window it plays another program instead: a window
// pinned on top by its user, in the foreground, that writes into
// "<its own path>.topmost" whether it is still pinned ("1") or not ("0").
// Wine shows a window's pin only to its own process.
//
// Linked as a console program it also stops as a node
// does on Ctrl+C or any other console control event: it flushes for a second,
// then writes its shutdown lines and exits. Started with --wallet-window it
// has a window, as a wallet program does, and stops the same way when that
// window is asked to close; beside it, a hidden helper window (as behind a
// wallet's notification-area icon) writes "<its own path>.helper-closed" if it
// is ever asked to close. With --hides-on-close as well, the wallet only
// hides its window when asked to close it, as one set to minimise to the
// notification area does.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cstring>
#include <cwchar>
#include <string>

#include "platform/win32/owners.hpp"
#include "stand_in_rpc_server.hpp"
#include "wine_paths.hpp"

using zvkob::win32::file_handle;
using zvkob::win32::KernelHandle;
using zvkob::testing::own_path;
using zvkob::win32::LocalMemory;

namespace {

void record_arguments(const std::wstring& file) {
    int count = 0;
    const LocalMemory<wchar_t*> arguments(CommandLineToArgvW(GetCommandLineW(), &count));
    std::wstring lines;
    for (int i = 1; arguments && i < count; ++i) {
        lines += arguments.get()[i];
        lines += L"\n";
    }
    const int size = WideCharToMultiByte(CP_UTF8, 0, lines.data(), static_cast<int>(lines.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, lines.data(), static_cast<int>(lines.size()), utf8.data(), size,
                        nullptr, nullptr);
    // Written beside, then moved in place, so a reader never sees half a list.
    const std::wstring partial = file + L".partial";
    KernelHandle out = file_handle(CreateFileW(partial.c_str(), GENERIC_WRITE, 0, nullptr,
                                               CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!out) {
        return;
    }
    DWORD written = 0;
    WriteFile(out.get(), utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
    out.reset();  // closed before the move, which a file still open would refuse
    MoveFileExW(partial.c_str(), file.c_str(), MOVEFILE_REPLACE_EXISTING);
}

void write_text(const std::wstring& file, const char* text) {
    const KernelHandle out =
        file_handle(CreateFileW(file.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (out) {
        DWORD written = 0;
        WriteFile(out.get(), text, static_cast<DWORD>(strlen(text)), &written, nullptr);
    }
}

bool stopped(const std::wstring& stop) {
    return GetFileAttributesW(stop.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void play_a_pinned_window(const std::wstring& report, const std::wstring& stop) {
    HWND window =
        CreateWindowExW(WS_EX_TOPMOST, L"STATIC", L"pinned by its user", WS_POPUP | WS_VISIBLE, 0,
                        0, 400, 300, nullptr, nullptr, nullptr, nullptr);
    SetForegroundWindow(window);
    while (!stopped(stop)) {
        MSG message{};
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageW(&message);
        }
        const bool pinned = (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
        write_text(report, pinned ? "1" : "0");
        Sleep(100);
    }
    DestroyWindow(window);
}

// The value of -<name>=, or "" without one.
std::wstring option(const std::wstring& name) {
    int count = 0;
    const LocalMemory<wchar_t*> arguments(CommandLineToArgvW(GetCommandLineW(), &count));
    const std::wstring prefix = L"-" + name + L"=";
    std::wstring value;
    for (int i = 1; arguments && i < count; ++i) {
        const std::wstring argument = arguments.get()[i];
        if (argument.rfind(prefix, 0) == 0) {
            value = argument.substr(prefix.size());
        }
    }
    return value;
}

// The datadir= line of a configuration file.
std::wstring data_folder_in(const std::wstring& conf) {
    const KernelHandle file = file_handle(CreateFileW(conf.c_str(), GENERIC_READ, FILE_SHARE_READ,
                                                      nullptr, OPEN_EXISTING, 0, nullptr));
    char text[4096] = {};
    DWORD read = 0;
    if (!file || !ReadFile(file.get(), text, sizeof text - 1, &read, nullptr)) {
        return {};
    }
    const std::string lines(text, read);
    const auto at = lines.find("datadir=");
    if (at == std::string::npos) {
        return {};
    }
    const std::string folder = lines.substr(at + 8, lines.find_first_of("\r\n", at) - at - 8);
    return std::wstring(folder.begin(), folder.end());
}

// The network's folder: the data folder, and testnet3 below it with -testnet.
std::wstring network_folder(const std::wstring& command_line) {
    std::wstring folder = option(L"datadir");
    if (folder.empty() && !option(L"conf").empty()) {
        folder = data_folder_in(option(L"conf"));
    }
    if (folder.empty()) {
        return {};
    }
    const bool testnet = command_line.find(L" -testnet") != std::wstring::npos;
    return testnet ? folder + L"\\testnet3" : folder;
}

std::wstring node_log(const std::wstring& command_line) {
    if (const std::wstring moved = option(L"debuglogfile"); !moved.empty()) {
        return moved;
    }
    const std::wstring folder = network_folder(command_line);
    return folder.empty() ? folder : folder + L"\\debug.log";
}

// One line of the log, stamped with the time now as a node stamps it.
void log_line(const std::wstring& log, const char* message) {
    if (log.empty()) {
        return;
    }
    SYSTEMTIME now{};
    GetSystemTime(&now);
    char line[512] = "\n";  // the empty lines before a start have no time
    if (*message != '\0') {
        std::snprintf(line, sizeof line, "%04u-%02u-%02uT%02u:%02u:%02uZ %s\n", now.wYear,
                      now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond, message);
    }
    const KernelHandle out =
        file_handle(CreateFileW(log.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (out) {
        DWORD written = 0;
        WriteFile(out.get(), line, static_cast<DWORD>(strlen(line)), &written, nullptr);
    }
}

// With --sync=<from>-<to> the node catches up: an UpdateTip line for each
// height, twenty a second (or --sync-rate=<per second>), its block ten minutes
// older for each height still to come, then the line of a node that has
// caught up. With --warn each line ends with the node's warning of unknown rules;
// with --tip-hours-old=<N> every block is N hours older.
void catch_up(const std::wstring& log, const std::wstring& command_line) {
    const auto at = command_line.find(L"--sync=");
    if (at == std::wstring::npos) {
        return;
    }
    const long from = std::wcstol(command_line.c_str() + at + 7, nullptr, 10);
    const long to =
        std::wcstol(command_line.c_str() + command_line.find(L'-', at + 7) + 1, nullptr, 10);
    // --sync-rate=<per second> paces each line by its time from the start, so
    // the rate holds however long the writing takes.
    const auto rate_at = command_line.find(L"--sync-rate=");
    const long rate = rate_at == std::wstring::npos
                          ? 0
                          : std::wcstol(command_line.c_str() + rate_at + 12, nullptr, 10);
    const char* warning = command_line.find(L"--warn") == std::wstring::npos
                              ? ""
                              : " warning='Unknown new rules activated (versionbit 7)'";
    const std::wstring hours_old = option(L"-tip-hours-old");
    const ULONGLONG older = static_cast<ULONGLONG>(_wtoi(hours_old.c_str())) * 36'000'000'000ULL;
    const ULONGLONG began = GetTickCount64();
    for (long height = from; height <= to; ++height) {
        FILETIME now{};
        GetSystemTimeAsFileTime(&now);
        ULARGE_INTEGER block{{now.dwLowDateTime, now.dwHighDateTime}};
        block.QuadPart -= static_cast<ULONGLONG>(to - height) * 6'000'000'000ULL + older;
        const FILETIME block_time{block.LowPart, block.HighPart};
        SYSTEMTIME date{};
        FileTimeToSystemTime(&block_time, &date);
        const double progress =
            height == to ? 1.0 : 0.5 + 0.49 * double(height - from) / double(to - from);
        char line[400];
        std::snprintf(line, sizeof line,
                      "UpdateTip: new best=000000000000000000013a5b height=%ld version=0x20000000 "
                      "log2_work=95.1 tx=1100000 date='%04u-%02u-%02uT%02u:%02u:%02uZ' "
                      "progress=%.6f cache=12.5MiB(90000txo)%s",
                      height, date.wYear, date.wMonth, date.wDay, date.wHour, date.wMinute,
                      date.wSecond, progress, warning);
        log_line(log, line);
        stand_in_rpc::reached(height);
        if (rate <= 0) {
            Sleep(50);
            continue;
        }
        const ULONGLONG due =
            began + static_cast<ULONGLONG>(height - from + 1) * 1000 / static_cast<ULONGLONG>(rate);
        const ULONGLONG now_ms = GetTickCount64();
        Sleep(due > now_ms ? static_cast<DWORD>(due - now_ms) : 0);
    }
    log_line(log, "Leaving InitialBlockDownload (latching to false)");
}

void log_start(const std::wstring& log) {
    log_line(log, "");
    log_line(log, "");
    log_line(log, "Stand-in Node version v30.0.0 (release build)");
    char started[64];
    std::snprintf(started, sizeof started, "stand-in node started, process %lu",
                  static_cast<unsigned long>(GetCurrentProcessId()));
    log_line(log, started);
}

// The lines a node writes as it stops; the exit code it then ends with.
int log_stop(const std::wstring& log, const std::wstring& command_line) {
    const bool v30 = command_line.find(L"--v30") != std::wstring::npos;
    const bool disk_full = command_line.find(L"--fatal-disk") != std::wstring::npos;
    if (disk_full) {
        log_line(log, "[error] Shutting down due to lack of disk space!");
    }
    log_line(log, v30 ? "Shutdown in progress..." : "Shutdown: In progress...");
    // --stop-seconds=<n>: it writes its cache for that long, as a large one takes minutes.
    if (const auto at = command_line.find(L"--stop-seconds="); at != std::wstring::npos) {
        Sleep(static_cast<DWORD>(std::wcstol(command_line.c_str() + at + 15, nullptr, 10)) * 1000);
    }
    log_line(log, v30 ? "Shutdown done" : "Shutdown: done");
    return disk_full ? 1 : 0;
}

volatile LONG control_event_received = 0;

BOOL WINAPI stop_on_control_event(DWORD) {
    InterlockedExchange(&control_event_received, 1);
    return TRUE;
}

bool hides_on_close = false;
std::wstring helper_closed_file;

LRESULT CALLBACK wallet_window_procedure(HWND window, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_CLOSE) {
        if (hides_on_close) {
            ShowWindow(window, SW_HIDE);  // as a wallet set to minimise to the notification area
            return 0;
        }
        InterlockedExchange(&control_event_received, 1);
        DestroyWindow(window);
        return 0;
    }
    return DefWindowProcW(window, message, w, l);
}

// The hidden window behind a wallet's notification-area icon: a close would
// destroy it and leave the wallet unreachable, so it notes any it gets.
LRESULT CALLBACK helper_window_procedure(HWND window, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_CLOSE) {
        write_text(helper_closed_file, "closed");
    }
    return DefWindowProcW(window, message, w, l);
}

HWND window_of_class(const wchar_t* class_name, WNDPROC procedure, const wchar_t* caption) {
    WNDCLASSW type{};
    type.lpfnWndProc = procedure;
    type.hInstance = GetModuleHandleW(nullptr);
    type.lpszClassName = class_name;
    RegisterClassW(&type);
    return CreateWindowExW(0, class_name, caption, WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr,
                           nullptr, type.hInstance, nullptr);
}

// A shown main window, and a hidden helper as a wallet keeps for its icon.
void open_a_wallet_window(const std::wstring& self, const std::wstring& command_line) {
    hides_on_close = command_line.find(L"--hides-on-close") != std::wstring::npos;
    helper_closed_file = self + L".helper-closed";
    DeleteFileW(helper_closed_file.c_str());
    ShowWindow(window_of_class(L"ZvKobStandInWallet", wallet_window_procedure, L"stand-in wallet"),
               SW_SHOWNOACTIVATE);
    window_of_class(L"ZvKobStandInHelper", helper_window_procedure, L"stand-in wallet helper");
}

// Stopped by the file, or by a console control event or a close of its
// window after a short flush.
bool asked_to_stop(const std::wstring& stop) {
    MSG message{};
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        DispatchMessageW(&message);
    }
    if (InterlockedCompareExchange(&control_event_received, 0, 0) != 0) {
        Sleep(1000);
        return true;
    }
    return stopped(stop);
}

int run(const std::wstring& command_line) {
    int exit_code = 0;
    const std::wstring self = own_path();
    const std::wstring stop = self + L".stop";
    DeleteFileW(stop.c_str());
    if (command_line.find(L"--topmost-window") != std::wstring::npos) {
        play_a_pinned_window(self + L".topmost", stop);
    } else {
        const std::wstring log = node_log(command_line);
        if (command_line.find(L"--wallet-window") != std::wstring::npos) {
            open_a_wallet_window(self, command_line);
        }
        log_start(log);
        stand_in_rpc::start({command_line, network_folder(command_line), log, stop,
                             [&log](const char* message) { log_line(log, message); }});
        record_arguments(self + L".args");
        stand_in_rpc::wait_until_loaded();
        catch_up(log, command_line);
        while (!asked_to_stop(stop)) {
            Sleep(100);
        }
        stand_in_rpc::stop();  // the cookie goes first, as the node stops its RPC early
        exit_code = log_stop(log, command_line);
    }
    DeleteFileW(stop.c_str());
    return exit_code;
}

}  // namespace

// Both entry points: linked as a console program it starts at wmain, as a
// windowed one at wWinMain.
int wmain() {
    SetConsoleCtrlHandler(stop_on_control_event, TRUE);
    return run(GetCommandLineW());
}

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR command_line, int) {
    return run(command_line);
}
