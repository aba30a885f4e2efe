#include "platform/win32/hidden_command_runner.hpp"

#include <windows.h>

#include "platform/win32/wide_text.hpp"

namespace zvkob::win32 {

Outcome HiddenCommandRunner::run_hidden(std::string_view command_line) {
    if (command_line.empty()) {
        return Outcome::failure("There is no command to run.");
    }
    std::wstring command = widen(command_line);  // CreateProcessW may write to it
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &started)) {
        return Outcome::failure(system_error_text(GetLastError()));
    }
    CloseHandle(started.hThread);
    CloseHandle(started.hProcess);
    return Outcome::success();
}

}  // namespace zvkob::win32
