// Asking a node to stop the way it handles itself, touching nothing else the
// user runs, and cleaning up the interpreter a stop by Ctrl+C leaves waiting.
#include <windows.h>
#include <tlhelp32.h>

#include <cstdint>
#include <map>
#include <vector>

#include "core/processes/node_stop_rules.hpp"
#include "platform/win32/owners.hpp"
#include "platform/win32/wide_text.hpp"
#include "platform/win32/processes/win32_held_process.hpp"
#include "platform/win32/processes/win32_node_control.hpp"

namespace zvkob::win32 {
namespace {

// While attached to a node's console, ZV-KOB receives the Ctrl+C it sends and
// must not end on it. A handler (rather than ignoring Ctrl+C outright) is not
// handed down to the programs ZV-KOB starts, and it stays installed, so a
// Ctrl+C delivered late still finds it.
BOOL WINAPI keep_running_on_ctrl_c(DWORD event) {
    return event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT ? TRUE : FALSE;
}

Outcome failure_of(const char* step, DWORD error) {
    return Outcome::failure(std::string("ZV-KOB could not ") + step + ": " +
                            system_error_text(error));
}

// Every running process: its image name and its parent.
struct ProcessEntry {
    std::string image;
    DWORD parent = 0;
};

std::map<DWORD, ProcessEntry> running_processes() {
    std::map<DWORD, ProcessEntry> found;
    const KernelHandle snapshot = file_handle(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = snapshot && Process32FirstW(snapshot.get(), &entry); more;
         more = Process32NextW(snapshot.get(), &entry)) {
        found[entry.th32ProcessID] = {narrow(entry.szExeFile), entry.th32ParentProcessID};
    }
    return found;
}

// The processes on the console ZV-KOB is attached to, named.
std::vector<ConsoleProcess> processes_on_this_console() {
    std::vector<DWORD> ids(64);
    DWORD count = GetConsoleProcessList(ids.data(), static_cast<DWORD>(ids.size()));
    if (count > ids.size()) {
        ids.resize(count);
        count = GetConsoleProcessList(ids.data(), static_cast<DWORD>(ids.size()));
    }
    ids.resize(count <= ids.size() ? count : 0);
    const auto names = running_processes();
    std::vector<ConsoleProcess> on_console;
    for (const DWORD id : ids) {
        const auto known = names.find(id);
        on_console.push_back({id, known == names.end() ? std::string() : known->second.image});
    }
    return on_console;
}

// The node's interpreter reads its console's input; Ctrl+C is delivered to
// the console's processes with ZV-KOB's own input set to it.
Outcome press_ctrl_c_on_attached_console() {
    const KernelHandle input = file_handle(CreateFileW(L"CONIN$", GENERIC_READ | GENERIC_WRITE,
                                                       FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                                       OPEN_EXISTING, 0, nullptr));
    if (!input) {
        return failure_of("open the node's console", GetLastError());
    }
    const HANDLE previous_input = GetStdHandle(STD_INPUT_HANDLE);
    SetStdHandle(STD_INPUT_HANDLE, input.get());
    const Outcome pressed = GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0)
                                ? Outcome::success()
                                : failure_of("press Ctrl+C on the node's console", GetLastError());
    SetStdHandle(STD_INPUT_HANDLE, previous_input);
    return pressed;
}

// Whether the console ZV-KOB is attached to shows its window.
bool attached_console_shown() {
    const HWND window = GetConsoleWindow();
    return window != nullptr && IsWindowVisible(window) != FALSE;
}

// Whether a process's console window is shown; one ZV-KOB cannot reach counts
// as shown, so that it is left alone.
bool console_shown(DWORD process_id) {
    FreeConsole();
    if (!AttachConsole(process_id)) {
        return true;
    }
    const bool shown = attached_console_shown();
    FreeConsole();
    return shown;
}

std::int64_t created_ms(DWORD process_id) {
    const KernelHandle process{OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, process_id)};
    FILETIME created{}, exited{}, kernel{}, user{};
    if (!process || !GetProcessTimes(process.get(), &created, &exited, &kernel, &user)) {
        return -1;
    }
    return (static_cast<std::int64_t>(created.dwHighDateTime) << 32) | created.dwLowDateTime;
}

// The program that started a node, "cmd.exe (process 3000)": only while it
// still runs and was created before the node, so that a process number used
// again since is not named for it. Only named, never sent anything.
std::string started_by(DWORD node_id) {
    const auto processes = running_processes();
    const auto node = processes.find(node_id);
    if (node == processes.end()) {
        return {};
    }
    const DWORD parent_id = node->second.parent;
    const auto parent = processes.find(parent_id);
    const std::int64_t parent_created = created_ms(parent_id);
    if (parent == processes.end() || parent_created < 0 || parent_created > created_ms(node_id)) {
        return {};
    }
    return parent->second.image + " (process " + std::to_string(parent_id) + ")";
}

struct WindowsOf {
    DWORD process_id;
    int shown = 0;
    bool close = false;
};

BOOL CALLBACK count_or_close_shown(HWND window, LPARAM found) {
    auto& of = *reinterpret_cast<WindowsOf*>(found);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == of.process_id &&
        receives_close(
            {IsWindowVisible(window) != FALSE, GetWindow(window, GW_OWNER) != nullptr}) &&
        (!of.close || PostMessageW(window, WM_CLOSE, 0, 0))) {
        ++of.shown;
    }
    return TRUE;
}

}  // namespace

Outcome Win32NodeControl::press_ctrl_c(unsigned long process_id, const HeldProcess* interpreter) {
    static const bool handler_installed = SetConsoleCtrlHandler(keep_running_on_ctrl_c, TRUE);
    if (!handler_installed) {
        return failure_of("prepare to press Ctrl+C", GetLastError());
    }
    const auto node_id = static_cast<DWORD>(process_id);
    std::string starter = interpreter == nullptr ? started_by(node_id) : std::string();
    FreeConsole();  // one console at a time: a copy started from one lets it go
    if (!AttachConsole(node_id)) {
        return failure_of("reach the node's console", GetLastError());
    }
    const NodeConsole console{processes_on_this_console(),
                              attached_console_shown(),
                              process_id,
                              interpreter == nullptr ? 0 : interpreter->id(),
                              GetCurrentProcessId(),
                              std::move(starter)};
    const auto refused = ctrl_c_refusal(console);
    const Outcome pressed =
        refused ? Outcome::failure(*refused) : press_ctrl_c_on_attached_console();
    FreeConsole();
    return pressed;
}

// Only through the handle ZV-KOB holds since it started the interpreter: no
// process that took its number since can be reached this way.
bool Win32NodeControl::end_left_interpreter(HeldProcess& interpreter) {
    auto* const held = dynamic_cast<Win32HeldProcess*>(&interpreter);
    if (held == nullptr) {
        return false;
    }
    const LeftInterpreter left{held->started_by_zvkob(),
                               WaitForSingleObject(held->handle(), 0) == WAIT_TIMEOUT,
                               console_shown(held->id())};
    return ends_left_interpreter(left) && TerminateProcess(held->handle(), 1) != FALSE;
}

Outcome Win32NodeControl::close_windows(unsigned long process_id) {
    WindowsOf of{static_cast<DWORD>(process_id), 0, true};
    EnumWindows(count_or_close_shown, reinterpret_cast<LPARAM>(&of));
    if (of.shown == 0) {
        return Outcome::failure(
            "The wallet program shows no window: it runs in the notification area, beside the "
            "clock. Quit it there: right-click its icon and choose Exit.");
    }
    return Outcome::success();
}

bool Win32NodeControl::shows_a_window(unsigned long process_id) {
    WindowsOf of{static_cast<DWORD>(process_id)};
    EnumWindows(count_or_close_shown, reinterpret_cast<LPARAM>(&of));
    return of.shown > 0;
}

}  // namespace zvkob::win32
