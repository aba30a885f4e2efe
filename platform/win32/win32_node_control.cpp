#include "platform/win32/win32_node_control.hpp"

#include <windows.h>

#include <cwchar>

#include "core/process_query.hpp"
#include "platform/win32/wide_text.hpp"
#include "platform/win32/wmi_query.hpp"

namespace zvkob::win32 {
namespace {

// The most processes of one image name worth listing.
constexpr std::size_t most_processes = 64;

unsigned long number_of(const std::wstring& text) {
    return std::wcstoul(text.c_str(), nullptr, 10);
}

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

// A batch file interrupted by Ctrl+C asks "Terminate batch job (Y/N)?" once
// the node has ended; typed ahead, the answer ends the interpreter then
// instead of leaving it waiting on a hidden console.
void type_yes_ahead(HANDLE console_input) {
    INPUT_RECORD keys[4]{};
    const wchar_t typed[2] = {L'Y', L'\r'};
    for (int i = 0; i < 4; ++i) {
        KEY_EVENT_RECORD& key = keys[i].Event.KeyEvent;
        keys[i].EventType = KEY_EVENT;
        key.bKeyDown = i % 2 == 0 ? TRUE : FALSE;
        key.wRepeatCount = 1;
        key.uChar.UnicodeChar = typed[i / 2];
        key.wVirtualKeyCode = i / 2 == 0 ? 'Y' : VK_RETURN;
    }
    DWORD written = 0;
    WriteConsoleInputW(console_input, keys, 4, &written);
}

Outcome ctrl_c_on_attached_console() {
    HANDLE input =
        CreateFileW(L"CONIN$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_EXISTING, 0, nullptr);
    if (input == INVALID_HANDLE_VALUE) {
        return failure_of("open the node's console", GetLastError());
    }
    const HANDLE previous_input = GetStdHandle(STD_INPUT_HANDLE);
    SetStdHandle(STD_INPUT_HANDLE, input);
    Outcome pressed = Outcome::success();
    if (GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0)) {
        type_yes_ahead(input);
    } else {
        pressed = failure_of("press Ctrl+C on the node's console", GetLastError());
    }
    SetStdHandle(STD_INPUT_HANDLE, previous_input);
    CloseHandle(input);
    return pressed;
}

struct WindowsOf {
    DWORD process_id;
    int closed;
};

BOOL CALLBACK close_if_owned(HWND window, LPARAM found) {
    auto& of = *reinterpret_cast<WindowsOf*>(found);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == of.process_id && GetWindow(window, GW_OWNER) == nullptr &&
        PostMessageW(window, WM_CLOSE, 0, 0)) {
        ++of.closed;
    }
    return TRUE;
}

}  // namespace

ProcessList Win32NodeControl::processes_named(std::string_view image_name) {
    const auto query = process_query_text(image_name, "ProcessId, ParentProcessId, CommandLine");
    if (!query) {
        return {};  // no process can have such a name
    }
    const WmiAnswer answer = run_wmi_query(
        widen(*query), {L"ProcessId", L"ParentProcessId", L"CommandLine"}, most_processes);
    ProcessList list{{}, answer.failure};
    for (const auto& row : answer.rows) {
        list.processes.push_back({number_of(row[0]), number_of(row[1]), narrow(row[2])});
    }
    return list;
}

Outcome Win32NodeControl::press_ctrl_c(unsigned long process_id) {
    static const bool handler_installed = SetConsoleCtrlHandler(keep_running_on_ctrl_c, TRUE);
    if (!handler_installed) {
        return failure_of("prepare to press Ctrl+C", GetLastError());
    }
    FreeConsole();  // one console at a time: a copy started from one lets it go
    if (!AttachConsole(process_id)) {
        return failure_of("reach the node's console", GetLastError());
    }
    const Outcome pressed = ctrl_c_on_attached_console();
    FreeConsole();
    return pressed;
}

Outcome Win32NodeControl::close_windows(unsigned long process_id) {
    WindowsOf of{process_id, 0};
    EnumWindows(close_if_owned, reinterpret_cast<LPARAM>(&of));
    if (of.closed == 0) {
        return Outcome::failure(
            "The program has no window to close: it may sit in the "
            "notification area. Quit it from its own menu there.");
    }
    return Outcome::success();
}

}  // namespace zvkob::win32
