// Stands for a node program of the build machine (Debian's litecoind) under
// wine, built as litecoind.exe. Wine runs a Linux program that a Windows
// program starts, but gives back a handle that cannot be waited on and lists
// no such process: ZV-KOB could neither see nor follow the node. This console
// program is what it sees instead, and it lives exactly as long as the node:
//
// - it starts /usr/bin/<its own name without .exe> through /bin/sh with its
//   own arguments, a Windows path in -key=X:\... turned into the Linux one
//   (wine_get_unix_file_name), in its working folder, the node's output going
//   to "<its own path>.out";
// - the node's process number goes to "<its own path>.pid", so that a test
//   can end it as a crash would (kill -9);
// - a console Ctrl+C (or Ctrl+Break) goes on to the node as SIGINT, and a
//   close of its console (or the end of the session) as SIGTERM: the node
//   treats both as a request to shut down;
// - it ends when the node has ended, with the node's exit code.
#include <windows.h>
#include <shellapi.h>

#include <cstdlib>
#include <string>

#include "platform/win32/owners.hpp"
#include "wine_paths.hpp"

using zvkob::win32::file_handle;
using zvkob::win32::KernelHandle;
using zvkob::testing::own_path;
using zvkob::win32::LocalMemory;

namespace {

std::wstring widen(const std::string& utf8) {
    std::wstring wide(utf8.size(), L'\0');
    wide.resize(static_cast<std::size_t>(
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(),
                            static_cast<int>(wide.size()))));
    return wide;
}

// The Linux path of a Windows one, as wine maps it; unchanged when wine does not.
std::wstring unix_path(const std::wstring& windows) {
    const std::optional<std::string> mapped = zvkob::testing::wine_unix_path(windows);
    return mapped ? widen(*mapped) : windows;
}

bool drive_path(std::wstring_view value) {
    return value.size() >= 3 && iswalpha(value[0]) && value[1] == L':' &&
           (value[2] == L'\\' || value[2] == L'/');
}

// -key=C:\x becomes -key=/…/x; anything else is passed on as it came.
std::wstring node_argument(const std::wstring& argument) {
    const auto equals = argument.find(L'=');
    if (!argument.starts_with(L'-') || equals == std::wstring::npos ||
        !drive_path(std::wstring_view(argument).substr(equals + 1))) {
        return argument;
    }
    return argument.substr(0, equals + 1) + unix_path(argument.substr(equals + 1));
}

// A word for sh, in single quotes; a double quote is escaped for the
// Windows rules by which wine splits the whole command line.
std::wstring sh_word(const std::wstring& word) {
    std::wstring quoted = L"'";
    for (const wchar_t c : word) {
        quoted += c == L'\'' ? std::wstring(L"'\\''") : c == L'"' ? std::wstring(L"\\\"")
                                                                  : std::wstring(1, c);
    }
    return quoted + L"'";
}

std::string read_small_file(const std::wstring& path) {
    const KernelHandle file = file_handle(CreateFileW(
        path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
        nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file) {
        return {};
    }
    char bytes[64] = {};
    DWORD read = 0;
    ReadFile(file.get(), bytes, sizeof bytes - 1, &read, nullptr);
    return std::string(bytes, read);
}

struct Files {
    std::wstring pid;   // Windows paths, to read them here
    std::wstring exit;  // written once the node has ended, with its code
};
Files files;

// Runs a Linux program without waiting: wine cannot wait on it anyway.
bool run_native(const std::wstring& program, const std::wstring& arguments) {
    std::wstring command = program + L" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!CreateProcessW((L"Z:" + program).c_str(), command.data(), nullptr, nullptr, FALSE, 0,
                        nullptr, nullptr, &startup, &started)) {
        return false;
    }
    CloseHandle(started.hThread);
    CloseHandle(started.hProcess);
    return true;
}

bool node_ended() {
    return GetFileAttributesW(files.exit.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void signal_node(const wchar_t* signal) {
    const std::string pid = read_small_file(files.pid);
    const auto end = pid.find_first_not_of("0123456789");
    const std::string number = pid.substr(0, end);
    if (!number.empty()) {
        run_native(L"/bin/kill", std::wstring(signal) + L" " + widen(number));
    }
}

BOOL WINAPI pass_control_event(DWORD event) {
    const bool interrupt = event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT;
    signal_node(interrupt ? L"-INT" : L"-TERM");
    if (!interrupt) {
        // The console goes once this returns: the node is given its time first.
        for (int waited = 0; waited < 300 && !node_ended(); ++waited) {
            Sleep(100);
        }
    }
    return TRUE;
}

// The node's program: /usr/bin/litecoind for litecoind.exe.
std::wstring native_program(const std::wstring& self) {
    std::wstring name = self.substr(self.find_last_of(L"\\/") + 1);
    if (name.size() > 4 && CompareStringOrdinal(name.c_str() + name.size() - 4, 4, L".exe", 4,
                                                TRUE) == CSTR_EQUAL) {
        name.resize(name.size() - 4);
    }
    return L"/usr/bin/" + name;
}

}  // namespace

int wmain() {
    const std::wstring self = own_path();
    files = {self + L".pid", self + L".exit"};
    DeleteFileW(files.pid.c_str());
    DeleteFileW(files.exit.c_str());
    SetConsoleCtrlHandler(pass_control_event, TRUE);

    int count = 0;
    const LocalMemory<wchar_t*> arguments(CommandLineToArgvW(GetCommandLineW(), &count));
    std::wstring node = sh_word(native_program(self));
    for (int i = 1; arguments && i < count; ++i) {
        node += L" " + sh_word(node_argument(arguments.get()[i]));
    }
    const std::wstring unix_self = unix_path(self);
    const std::wstring script = node + L" >" + sh_word(unix_self + L".out") + L" 2>&1 & echo $! >" +
                                sh_word(unix_self + L".pid") + L"; wait $!; echo $? >" +
                                sh_word(unix_self + L".exit.partial") + L"; mv " +
                                sh_word(unix_self + L".exit.partial") + L" " +
                                sh_word(unix_self + L".exit");
    if (!run_native(L"/bin/sh", L"-c \"" + script + L"\"")) {
        return 127;
    }
    while (!node_ended()) {
        Sleep(100);
    }
    const std::string code = read_small_file(files.exit);
    return code.empty() ? 1 : std::atoi(code.c_str());
}
