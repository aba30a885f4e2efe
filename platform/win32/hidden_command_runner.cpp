#include "platform/win32/hidden_command_runner.hpp"

#include <windows.h>

#include "core/interpreter_line.hpp"
#include "platform/win32/win32_file_system.hpp"
#include "platform/win32/wide_text.hpp"

namespace zvkob::win32 {
namespace {

// The command interpreter by its full path, so that no other cmd.exe is found first.
std::wstring command_interpreter() {
    std::wstring folder(MAX_PATH, L'\0');
    const UINT length = GetSystemDirectoryW(folder.data(), static_cast<UINT>(folder.size()));
    folder.resize(length < folder.size() ? length : 0);
    return folder + L"\\cmd.exe";
}

// Holds the process handle, so that its exit code can be read however long ago it ended.
class Win32StartedProcess : public StartedProcess {
public:
    Win32StartedProcess(HANDLE process, DWORD id) : process_(process), id_(id) {}
    ~Win32StartedProcess() override { CloseHandle(process_); }
    Win32StartedProcess(const Win32StartedProcess&) = delete;
    Win32StartedProcess& operator=(const Win32StartedProcess&) = delete;

    unsigned long id() const override { return id_; }

    std::optional<unsigned long> exit_code() override {
        DWORD code = 0;
        if (WaitForSingleObject(process_, 0) != WAIT_OBJECT_0 ||
            !GetExitCodeProcess(process_, &code)) {
            return std::nullopt;
        }
        return code;
    }

private:
    HANDLE process_;
    DWORD id_;
};

}  // namespace

Start HiddenCommandRunner::run_hidden(std::string_view command_line) {
    if (command_line.empty()) {
        return {nullptr, "There is no command to run."};
    }
    std::wstring application;
    std::wstring command = widen(command_line);  // CreateProcessW may write to it
    if (is_full_path(command_line) && Win32FileSystem().is_file(command_line)) {
        application = command_interpreter();
        command = widen(interpreter_command_line(narrow(application), command_line));
    }
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION started{};
    // A console of its own, as a program started from the desktop gets: Ctrl+C
    // on it reaches the node and nothing else.
    if (!CreateProcessW(application.empty() ? nullptr : application.c_str(), command.data(),
                        nullptr, nullptr, FALSE, CREATE_NEW_CONSOLE, nullptr, nullptr, &startup,
                        &started)) {
        return {nullptr, system_error_text(GetLastError())};
    }
    CloseHandle(started.hThread);
    return {std::make_shared<Win32StartedProcess>(started.hProcess, started.dwProcessId), {}};
}

}  // namespace zvkob::win32
