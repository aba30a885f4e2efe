#include "platform/win32/hidden_command_runner.hpp"

#include <windows.h>

#include "core/interpreter_line.hpp"
#include "platform/win32/wide_text.hpp"

namespace zvkob::win32 {
namespace {

bool is_existing_file(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// The command interpreter by its full path, so that no other cmd.exe is found first.
std::wstring command_interpreter() {
    std::wstring folder(MAX_PATH, L'\0');
    const UINT length = GetSystemDirectoryW(folder.data(), static_cast<UINT>(folder.size()));
    folder.resize(length < folder.size() ? length : 0);
    return folder + L"\\cmd.exe";
}

}  // namespace

Outcome HiddenCommandRunner::run_hidden(std::string_view command_line) {
    if (command_line.empty()) {
        return Outcome::failure("There is no command to run.");
    }
    std::wstring application;
    std::wstring command = widen(command_line);  // CreateProcessW may write to it
    if (is_full_path(command_line) && is_existing_file(command)) {
        application = command_interpreter();
        command = widen(interpreter_command_line(narrow(application), command_line));
    }
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(application.empty() ? nullptr : application.c_str(), command.data(),
                        nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started)) {
        return Outcome::failure(system_error_text(GetLastError()));
    }
    CloseHandle(started.hThread);
    CloseHandle(started.hProcess);
    return Outcome::success();
}

}  // namespace zvkob::win32
