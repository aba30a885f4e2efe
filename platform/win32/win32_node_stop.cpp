// Asking a node to stop the way it handles itself, touching nothing else the
// user runs, and cleaning up the interpreter a stop by Ctrl+C leaves waiting.
#include <windows.h>
#include <tlhelp32.h>

#include <map>
#include <vector>

#include "core/node_stop_rules.hpp"
#include "platform/win32/owners.hpp"
#include "platform/win32/wide_text.hpp"
#include "platform/win32/win32_node_control.hpp"

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

// Whether a process's console window is shown; one ZV-KOB cannot reach counts
// as shown, so that it is left alone.
bool console_shown(DWORD process_id) {
    FreeConsole();
    if (!AttachConsole(process_id)) {
        return true;
    }
    const HWND window = GetConsoleWindow();
    const bool shown = window != nullptr && IsWindowVisible(window) != FALSE;
    FreeConsole();
    return shown;
}

bool process_runs(DWORD process_id) {
    const KernelHandle process{OpenProcess(SYNCHRONIZE, FALSE, process_id)};
    return process && WaitForSingleObject(process.get(), 0) == WAIT_TIMEOUT;
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

Outcome Win32NodeControl::press_ctrl_c(unsigned long process_id, unsigned long interpreter_id) {
    static const bool handler_installed = SetConsoleCtrlHandler(keep_running_on_ctrl_c, TRUE);
    if (!handler_installed) {
        return failure_of("prepare to press Ctrl+C", GetLastError());
    }
    FreeConsole();  // one console at a time: a copy started from one lets it go
    if (!AttachConsole(static_cast<DWORD>(process_id))) {
        return failure_of("reach the node's console", GetLastError());
    }
    const auto refused = ctrl_c_refusal(processes_on_this_console(), process_id, interpreter_id,
                                        GetCurrentProcessId());
    const Outcome pressed =
        refused ? Outcome::failure(*refused) : press_ctrl_c_on_attached_console();
    FreeConsole();
    return pressed;
}

bool Win32NodeControl::end_left_interpreter(unsigned long interpreter_id) {
    const auto id = static_cast<DWORD>(interpreter_id);
    const KernelHandle interpreter{OpenProcess(
        PROCESS_TERMINATE | SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id)};
    if (!interpreter) {
        return false;
    }
    const auto processes = running_processes();
    const auto entry = processes.find(id);
    const DWORD parent = entry == processes.end() ? 0 : entry->second.parent;
    const LeftInterpreter left{WaitForSingleObject(interpreter.get(), 0) == WAIT_TIMEOUT,
                               console_shown(id),
                               parent == GetCurrentProcessId() || !process_runs(parent)};
    return ends_left_interpreter(left) && TerminateProcess(interpreter.get(), 1) != FALSE;
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
