#include "platform/win32/files/win32_history.hpp"

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <chrono>

#include "core/text_lines.hpp"
#include "core/time_text.hpp"
#include "platform/win32/owners.hpp"
#include "platform/win32/wide_text.hpp"
#include "platform/win32/win32_clock.hpp"

namespace zvkob::win32 {
namespace {

constexpr auto longest_wait = std::chrono::seconds(3);

// A function of the shell, loaded at its first use rather than at every
// start: only History... and a missing %LOCALAPPDATA% need it. The library
// stays loaded, as the shell may still run code of its own after a call.
template <typename Function>
Function shell_function(const char* name) {
    const HMODULE shell = LoadLibraryExW(L"shell32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (shell == nullptr) {
        return nullptr;
    }
    // Through a function type without parameters: GetProcAddress's own type is not the real one.
    using Untyped = void (*)();
    return reinterpret_cast<Function>(reinterpret_cast<Untyped>(GetProcAddress(shell, name)));
}

std::string asked_of_the_shell() {
    using KnownFolderPath = HRESULT(WINAPI*)(REFKNOWNFOLDERID, DWORD, HANDLE, PWSTR*);
    const auto known_folder_path = shell_function<KnownFolderPath>("SHGetKnownFolderPath");
    ComMemory<wchar_t> folder;
    if (known_folder_path == nullptr ||
        FAILED(known_folder_path(FOLDERID_LocalAppData, 0, nullptr, folder.receive()))) {
        return {};
    }
    return narrow(folder.get());
}

// Windows sets %LOCALAPPDATA% for every process; the shell is asked only
// when a parent took it away.
std::string local_app_data() {
    const DWORD needed = GetEnvironmentVariableW(L"LOCALAPPDATA", nullptr, 0);
    if (needed > 1) {
        std::wstring folder(needed, L'\0');
        const DWORD length = GetEnvironmentVariableW(L"LOCALAPPDATA", folder.data(), needed);
        if (length > 0 && length < needed) {
            folder.resize(length);
            return narrow(folder);
        }
    }
    return asked_of_the_shell();
}

std::string history_folder(FolderFrom from) {
    const std::string base = from == FolderFrom::shell ? asked_of_the_shell() : local_app_data();
    return base.empty() ? std::string() : base + "\\ZV-KOB";
}

std::string stamped(std::string_view text) {
    return iso_local_time(local_time_now()) + " " + one_line(text);
}

}  // namespace

Win32History::Win32History(std::string_view instance, FolderFrom from)
    : folder_(history_folder(from)),
      path_(folder_ + "\\" + std::string(instance) + ".log"),
      log_(files_, path_, folder_ + "\\" + std::string(instance) + ".old.log",
           RotatingLog::one_mebibyte, stamped) {
    if (folder_.empty()) {
        failure_ = "Windows does not tell where the user's local application data folder is.";
    }
}

Win32History::~Win32History() {
    writer_.stop(WorkQueue::Waiting::finish, true);
}

void Win32History::record(std::string_view event) {
    if (folder_.empty()) {
        return;  // nowhere to write; failure() says why
    }
    writer_.give([this, line = stamped(event)] { write(line); });
}

void Win32History::write(const std::string& line) {
    const Outcome written = log_.append_line(line);
    const std::lock_guard lock(failure_mutex_);
    failure_ = written ? std::nullopt : std::optional(written.reason());
}

std::optional<std::string> Win32History::failure() {
    const std::lock_guard lock(failure_mutex_);
    return failure_;
}

void Win32History::flush() {
    writer_.wait_until_done(longest_wait);
}

// In the program the user chose for .log files, or Notepad when there is none.
Outcome Win32History::open() {
    flush();
    if (const auto why = failure()) {
        return Outcome::failure(*why);
    }
    const std::wstring file = widen(path_);
    SHELLEXECUTEINFOW open{};
    open.cbSize = sizeof open;
    open.fMask = SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
    open.lpVerb = L"open";
    open.lpFile = file.c_str();
    open.nShow = SW_SHOWNORMAL;
    using ShellExecute = BOOL(WINAPI*)(SHELLEXECUTEINFOW*);
    static const auto shell_execute = shell_function<ShellExecute>("ShellExecuteExW");
    if (shell_execute != nullptr && shell_execute(&open)) {
        return Outcome::success();
    }
    std::wstring notepad = L"notepad.exe \"" + file + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(nullptr, notepad.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &started)) {
        return Outcome::failure(system_error_text(GetLastError()));
    }
    // Nothing waits for Notepad: its handles are let go at once.
    const KernelHandle process(started.hProcess);
    const KernelHandle thread(started.hThread);
    return Outcome::success();
}

}  // namespace zvkob::win32
