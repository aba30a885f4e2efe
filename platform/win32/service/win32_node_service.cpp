#include "platform/win32/service/win32_node_service.hpp"

#include <windows.h>
#include <sddl.h>
#include <shellapi.h>

#include <vector>

#include "platform/win32/files/program_file.hpp"
#include "core/settings/settings_catalogue.hpp"
#include "platform/settings_store.hpp"
#include "platform/win32/owners.hpp"
#include "platform/win32/registry_settings_store.hpp"
#include "platform/win32/service/channel_pipe.hpp"
#include "platform/win32/wide_text.hpp"

namespace zvkob::win32 {
namespace {

// Waits for the helper with the window's messages delivered meanwhile, as
// under a message box: the window repaints and its watcher goes on.
void wait_delivering_messages(HANDLE process) {
    while (MsgWaitForMultipleObjects(1, &process, FALSE, INFINITE, QS_ALLINPUT) ==
           WAIT_OBJECT_0 + 1) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
}

}  // namespace

std::string signed_in_user_sid() {
    KernelHandle token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.receive())) {
        return {};
    }
    DWORD size = 0;
    GetTokenInformation(token.get(), TokenUser, nullptr, 0, &size);
    std::vector<BYTE> user(size);
    LocalMemory<wchar_t> text;
    if (size == 0 || !GetTokenInformation(token.get(), TokenUser, user.data(), size, &size) ||
        !ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(user.data())->User.Sid,
                                text.receive())) {
        return {};
    }
    return narrow(text.get());
}

std::string Win32NodeService::user_sid() {
    return signed_in_user_sid();
}

std::string signed_in_user_name() {
    wchar_t name[257]{};
    DWORD size = 257;
    return GetUserNameW(name, &size) ? narrow(name) : std::string("user");
}

std::string Win32NodeService::user_name() {
    return signed_in_user_name();
}

HelperRun Win32NodeService::run_helper(std::string_view arguments) {
    const std::wstring program = widen(program_file_path());
    const std::wstring parameters = widen(arguments);
    SHELLEXECUTEINFOW run{};
    run.cbSize = sizeof run;
    run.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
    run.hwnd = GetActiveWindow();
    run.lpVerb = L"runas";
    run.lpFile = program.c_str();
    run.lpParameters = parameters.c_str();
    run.nShow = SW_SHOWNORMAL;
    if (!ShellExecuteExW(&run)) {
        const DWORD code = GetLastError();
        if (code == ERROR_CANCELLED) {
            return {HelperRun::Result::consent_refused, 0, {}};
        }
        return {HelperRun::Result::failed, 0, system_error_text(code)};
    }
    const KernelHandle helper(run.hProcess);
    if (!helper) {
        return {HelperRun::Result::failed, 0, "Windows started the helper but gave no handle on it."};
    }
    wait_delivering_messages(helper.get());
    DWORD code = 0;
    if (!GetExitCodeProcess(helper.get(), &code)) {
        return {HelperRun::Result::failed, 0, system_error_text(GetLastError())};
    }
    return {HelperRun::Result::ended, code, {}};
}

// Only the service's own process is asked: the pipe's server must be it.
std::optional<std::string> Win32NodeService::ask(std::string_view name, std::string_view request) {
    const unsigned long server = manager_.process_id(name);
    return server == 0 ? std::nullopt : ask_channel(name, server, request);
}

std::optional<NodeService::Facts> Win32NodeService::facts(std::string_view name) {
    const auto run = manager_.state(name);
    if (!run) {
        return std::nullopt;
    }
    const auto kept = manager_.kept(name);
    return Facts{*run, kept.exit_code, kept.command_line};
}

std::string Win32NodeService::program_path() {
    return program_file_path();
}

// Services named "ZV-KOB <copy> (<this user>)", and the data folder each copy stored.
std::vector<std::pair<std::string, std::string>> Win32NodeService::other_copies_with_a_service(
    std::string_view this_copy) {
    const std::string ending = " (" + user_name() + ")";
    std::vector<std::pair<std::string, std::string>> others;
    for (const std::string& service : manager_.names_beginning("ZV-KOB ")) {
        if (service.size() <= 7 + ending.size() || !service.ends_with(ending)) {
            continue;
        }
        const std::string copy = service.substr(7, service.size() - 7 - ending.size());
        if (copy != this_copy) {
            others.emplace_back(copy, RegistrySettingsStore(application_name, copy)
                                          .get(stored::data_folder.key, ""));
        }
    }
    return others;
}

bool Win32NodeService::on_mapped_drive(std::string_view path) {
    if (path.size() < 2 || path[1] != ':') {
        return false;  // a UNC path or a relative one: not a drive letter
    }
    const std::wstring root = widen(path.substr(0, 2)) + L"\\";
    return GetDriveTypeW(root.c_str()) == DRIVE_REMOTE;
}

std::string Win32NodeService::error_words(std::uint32_t code) {
    return system_error_text(code);
}

}  // namespace zvkob::win32
