#include "platform/win32/win32_node_control.hpp"

#include <windows.h>
#include <tlhelp32.h>
#include <winternl.h>

#include <vector>

#include "platform/win32/owners.hpp"
#include "platform/win32/wide_text.hpp"
#include "platform/win32/win32_held_process.hpp"

namespace zvkob::win32 {
namespace {

// NtQueryInformationProcess's class for a process's command line (Windows 8.1 on).
constexpr PROCESSINFOCLASS command_line_information = static_cast<PROCESSINFOCLASS>(60);

bool same_name(const wchar_t* a, std::wstring_view b) {
    return CompareStringOrdinal(a, -1, b.data(), static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
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
    const KernelHandle input = file_handle(CreateFileW(L"CONIN$", GENERIC_READ | GENERIC_WRITE,
                                                       FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                                       OPEN_EXISTING, 0, nullptr));
    if (!input) {
        return failure_of("open the node's console", GetLastError());
    }
    const HANDLE previous_input = GetStdHandle(STD_INPUT_HANDLE);
    SetStdHandle(STD_INPUT_HANDLE, input.get());
    Outcome pressed = Outcome::success();
    if (GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0)) {
        type_yes_ahead(input.get());
    } else {
        pressed = failure_of("press Ctrl+C on the node's console", GetLastError());
    }
    SetStdHandle(STD_INPUT_HANDLE, previous_input);
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

// A snapshot of the process list: no query service, a few milliseconds.
ProcessList Win32NodeControl::processes_named(std::string_view image_name) {
    const std::wstring name = widen(image_name);
    const KernelHandle snapshot = file_handle(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) {
        return {{},
                "ZV-KOB could not list the running programs: " + system_error_text(GetLastError())};
    }
    ProcessList list;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot.get(), &entry); more;
         more = Process32NextW(snapshot.get(), &entry)) {
        if (same_name(entry.szExeFile, name)) {
            list.processes.push_back({entry.th32ProcessID, entry.th32ParentProcessID});
        }
    }
    return list;
}

Holding Win32NodeControl::hold(unsigned long process_id) {
    KernelHandle process(OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE,
                                     static_cast<DWORD>(process_id)));
    if (!process) {
        const DWORD error = GetLastError();
        if (error == ERROR_INVALID_PARAMETER) {
            return {nullptr, true, {}};  // no such process any more
        }
        return {nullptr, false, system_error_text(error)};
    }
    if (WaitForSingleObject(process.get(), 0) == WAIT_OBJECT_0) {
        return {nullptr, true, {}};  // ended between being listed and being opened
    }
    auto held =
        std::make_shared<Win32HeldProcess>(std::move(process), static_cast<DWORD>(process_id));
    return {std::move(held), false, {}};
}

// Windows 8.1 and later show it to a process of the same user; wine shows none.
std::optional<std::string> Win32NodeControl::command_line(unsigned long process_id) {
    using Query = LONG(NTAPI*)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);
    static const auto query = reinterpret_cast<Query>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
    const KernelHandle process(
        OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(process_id)));
    if (query == nullptr || !process) {
        return std::nullopt;
    }
    std::vector<unsigned char> buffer(4096);
    ULONG needed = 0;
    LONG status = query(process.get(), command_line_information, buffer.data(),
                        static_cast<ULONG>(buffer.size()), &needed);
    if (status < 0 && needed > buffer.size()) {
        buffer.resize(needed);
        status = query(process.get(), command_line_information, buffer.data(),
                       static_cast<ULONG>(buffer.size()), &needed);
    }
    if (status < 0) {
        return std::nullopt;
    }
    const auto* text = reinterpret_cast<const UNICODE_STRING*>(buffer.data());
    return narrow(std::wstring_view(text->Buffer, text->Length / sizeof(wchar_t)));
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
