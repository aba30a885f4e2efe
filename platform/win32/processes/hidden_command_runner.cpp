#include "platform/win32/processes/hidden_command_runner.hpp"

#include <windows.h>

#include "core/processes/interpreter_line.hpp"
#include "platform/win32/files/win32_file_system.hpp"
#include "platform/win32/owners.hpp"
#include "platform/win32/wide_text.hpp"
#include "platform/win32/processes/win32_held_process.hpp"

namespace zvkob::win32 {
namespace {

// The command interpreter by its full path, so that no other cmd.exe is found first.
std::wstring command_interpreter() {
    std::wstring folder(MAX_PATH, L'\0');
    const UINT length = GetSystemDirectoryW(folder.data(), static_cast<UINT>(folder.size()));
    folder.resize(length < folder.size() ? length : 0);
    return folder + L"\\cmd.exe";
}

}  // namespace

Start HiddenCommandRunner::run_hidden(std::string_view command_line, NodePriority priority) {
    if (command_line.empty()) {
        return {nullptr, "There is no command to run."};
    }
    std::wstring application;
    std::wstring command = widen(command_line);  // CreateProcessW may write to it
    if (is_full_path(command_line) && Win32FileSystem().is_file(command_line)) {
        application = command_interpreter();
        command = widen(interpreter_command_line(narrow(application), command_line));
    }
    // ZV-KOB may have been started by a program that ignores Ctrl+C; the
    // interpreter and the node would inherit that, and Stop Node could not reach them.
    SetConsoleCtrlHandler(nullptr, FALSE);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION started{};
    // A console of its own, as a program started from the desktop gets: Ctrl+C
    // on it reaches the node and nothing else.
    if (!CreateProcessW(
            application.empty() ? nullptr : application.c_str(), command.data(), nullptr, nullptr,
            FALSE,
            CREATE_NEW_CONSOLE | (priority == NodePriority::low ? BELOW_NORMAL_PRIORITY_CLASS : 0),
            nullptr, nullptr, &startup, &started)) {
        return {nullptr, system_error_text(GetLastError())};
    }
    const KernelHandle thread(started.hThread);
    return {std::make_shared<Win32HeldProcess>(KernelHandle(started.hProcess), started.dwProcessId,
                                               HeldSince::started),
            {}};
}

}  // namespace zvkob::win32
