#include "platform/win32/service/win32_service_manager.hpp"

#include <chrono>
#include <thread>

#include "platform/win32/owners.hpp"
#include "platform/win32/wide_text.hpp"

namespace zvkob::win32 {
namespace {

bool close_service_handle(SC_HANDLE handle) {
    return CloseServiceHandle(handle) != FALSE;
}
using ServiceHandle = Owner<SC_HANDLE, nullptr, close_service_handle>;

WindowsRefusal last_refusal() {
    const DWORD code = GetLastError();
    return {code, system_error_text(code)};
}

ServiceHandle manager(DWORD rights) {
    return ServiceHandle(OpenSCManagerW(nullptr, nullptr, rights));
}

ServiceHandle service(const ServiceHandle& manager, std::string_view name, DWORD rights) {
    return ServiceHandle(OpenServiceW(manager.get(), widen(name).c_str(), rights));
}

std::optional<WindowsRefusal> configure(SC_HANDLE handle, const ServiceSetup& setup) {
    SERVICE_PRESHUTDOWN_INFO wait = shutdown_wait_info(setup.shutdown_wait_ms);
    std::wstring description = widen(setup.description);
    SERVICE_DESCRIPTIONW described{description.data()};
    if (!ChangeServiceConfig2W(handle, SERVICE_CONFIG_PRESHUTDOWN_INFO, &wait) ||
        !ChangeServiceConfig2W(handle, SERVICE_CONFIG_DESCRIPTION, &described)) {
        return last_refusal();
    }
    return std::nullopt;
}

ServiceRun run_of(DWORD state) {
    switch (state) {
        case SERVICE_START_PENDING:
        case SERVICE_CONTINUE_PENDING:
            return ServiceRun::starting;
        case SERVICE_RUNNING:
        case SERVICE_PAUSED:
        case SERVICE_PAUSE_PENDING:
            return ServiceRun::running;
        case SERVICE_STOP_PENDING:
            return ServiceRun::stopping;
        default:
            return ServiceRun::stopped;
    }
}

std::optional<ServiceRun> state_of(SC_HANDLE handle) {
    SERVICE_STATUS_PROCESS status{};
    DWORD size = 0;
    if (!QueryServiceStatusEx(handle, SC_STATUS_PROCESS_INFO, reinterpret_cast<BYTE*>(&status),
                              sizeof status, &size)) {
        return std::nullopt;
    }
    return run_of(status.dwCurrentState);
}

// Where the service keeps what is ZV-KOB's own: under its key, in Parameters.
std::wstring parameters_key(std::string_view name) {
    return L"SYSTEM\\CurrentControlSet\\Services\\" + widen(name) + L"\\Parameters";
}

constexpr wchar_t granted_value[] = L"LogonRightGrantedByZV-KOB";

}  // namespace

SERVICE_PRESHUTDOWN_INFO shutdown_wait_info(std::int64_t wait_ms) {
    return {static_cast<DWORD>(wait_ms)};
}

std::optional<ServiceRun> Win32ServiceManager::state(std::string_view name) {
    const ServiceHandle scm = manager(SC_MANAGER_CONNECT);
    const ServiceHandle found = service(scm, name, SERVICE_QUERY_STATUS);
    if (!found) {
        // Only "no such service" means none; another refusal says nothing of it.
        return GetLastError() == ERROR_SERVICE_DOES_NOT_EXIST ? std::nullopt
                                                              : std::optional(ServiceRun::stopped);
    }
    return state_of(found.get()).value_or(ServiceRun::stopped);
}

unsigned long Win32ServiceManager::process_id(std::string_view name) {
    const ServiceHandle scm = manager(SC_MANAGER_CONNECT);
    const ServiceHandle found = service(scm, name, SERVICE_QUERY_STATUS);
    SERVICE_STATUS_PROCESS status{};
    DWORD size = 0;
    if (!found || !QueryServiceStatusEx(found.get(), SC_STATUS_PROCESS_INFO,
                                        reinterpret_cast<BYTE*>(&status), sizeof status, &size) ||
        status.dwCurrentState != SERVICE_RUNNING) {
        return 0;
    }
    return status.dwProcessId;
}

Win32ServiceManager::Kept Win32ServiceManager::kept(std::string_view name) {
    const ServiceHandle scm = manager(SC_MANAGER_CONNECT);
    const ServiceHandle found = service(scm, name, SERVICE_QUERY_STATUS | SERVICE_QUERY_CONFIG);
    Kept kept;
    SERVICE_STATUS status{};
    if (found && QueryServiceStatus(found.get(), &status)) {
        kept.exit_code = status.dwWin32ExitCode == ERROR_SERVICE_SPECIFIC_ERROR
                             ? status.dwServiceSpecificExitCode
                             : status.dwWin32ExitCode;
    }
    DWORD needed = 0;
    QueryServiceConfigW(found.get(), nullptr, 0, &needed);
    std::vector<BYTE> config(needed);
    if (found && needed > 0 &&
        QueryServiceConfigW(found.get(), reinterpret_cast<QUERY_SERVICE_CONFIGW*>(config.data()),
                            needed, &needed)) {
        const auto* read = reinterpret_cast<const QUERY_SERVICE_CONFIGW*>(config.data());
        kept.command_line = read->lpBinaryPathName ? narrow(read->lpBinaryPathName) : "";
    }
    return kept;
}

std::vector<std::string> Win32ServiceManager::names_beginning(std::string_view beginning) {
    const ServiceHandle scm = manager(SC_MANAGER_ENUMERATE_SERVICE);
    std::vector<std::string> names;
    DWORD needed = 0;
    DWORD count = 0;
    DWORD resume = 0;
    EnumServicesStatusExW(scm.get(), SC_ENUM_PROCESS_INFO, SERVICE_WIN32, SERVICE_STATE_ALL,
                          nullptr, 0, &needed, &count, &resume, nullptr);
    std::vector<BYTE> listed(needed);
    resume = 0;
    if (!scm || needed == 0 ||
        !EnumServicesStatusExW(scm.get(), SC_ENUM_PROCESS_INFO, SERVICE_WIN32, SERVICE_STATE_ALL,
                               listed.data(), needed, &needed, &count, &resume, nullptr)) {
        return names;
    }
    const auto* services = reinterpret_cast<const ENUM_SERVICE_STATUS_PROCESSW*>(listed.data());
    for (DWORD at = 0; at < count; ++at) {
        const std::string name = narrow(services[at].lpServiceName);
        if (name.starts_with(beginning)) {
            names.push_back(name);
        }
    }
    return names;
}

std::optional<WindowsRefusal> Win32ServiceManager::install(const ServiceSetup& setup,
                                                           const SecretPassword& password) {
    const ServiceHandle scm = manager(SC_MANAGER_CREATE_SERVICE | SC_MANAGER_CONNECT);
    if (!scm) {
        return last_refusal();
    }
    const std::wstring name = widen(setup.name);
    const std::wstring command = widen(setup.command_line);
    const std::wstring account = widen(setup.account);
    const ServiceHandle created(CreateServiceW(
        scm.get(), name.c_str(), name.c_str(), SERVICE_ALL_ACCESS, node_service_type,
        node_service_start, SERVICE_ERROR_NORMAL, command.c_str(), nullptr, nullptr, nullptr,
        account.c_str(), password.text().c_str()));
    if (!created) {
        return last_refusal();
    }
    if (auto refused = configure(created.get(), setup)) {
        DeleteService(created.get());  // nothing is left half installed
        return refused;
    }
    return std::nullopt;
}

std::optional<WindowsRefusal> Win32ServiceManager::repair(const ServiceSetup& setup) {
    const ServiceHandle scm = manager(SC_MANAGER_CONNECT);
    const ServiceHandle found = service(scm, setup.name, SERVICE_CHANGE_CONFIG);
    if (!found) {
        return last_refusal();
    }
    const std::wstring command = widen(setup.command_line);
    if (!ChangeServiceConfigW(found.get(), SERVICE_NO_CHANGE, node_service_start,
                              SERVICE_NO_CHANGE, command.c_str(), nullptr, nullptr, nullptr,
                              nullptr, nullptr, nullptr)) {
        return last_refusal();
    }
    return configure(found.get(), setup);
}

std::optional<WindowsRefusal> Win32ServiceManager::start(std::string_view name) {
    const ServiceHandle scm = manager(SC_MANAGER_CONNECT);
    const ServiceHandle found = service(scm, name, SERVICE_START | SERVICE_QUERY_STATUS);
    if (!found || !StartServiceW(found.get(), 0, nullptr)) {
        return last_refusal();
    }
    return std::nullopt;
}

std::optional<WindowsRefusal> Win32ServiceManager::stop_with(std::string_view name,
                                                             std::uint32_t control,
                                                             std::int64_t wait_ms) {
    const ServiceHandle scm = manager(SC_MANAGER_CONNECT);
    const ServiceHandle found =
        service(scm, name, SERVICE_STOP | SERVICE_QUERY_STATUS | SERVICE_USER_DEFINED_CONTROL);
    SERVICE_STATUS status{};
    if (!found || !ControlService(found.get(), control, &status)) {
        return last_refusal();
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(wait_ms);
    while (state_of(found.get()).value_or(ServiceRun::stopped) != ServiceRun::stopped) {
        if (std::chrono::steady_clock::now() > deadline) {
            return WindowsRefusal{ERROR_SERVICE_REQUEST_TIMEOUT,
                                  system_error_text(ERROR_SERVICE_REQUEST_TIMEOUT)};
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(250));
    }
    return std::nullopt;
}

std::optional<WindowsRefusal> Win32ServiceManager::remove(std::string_view name) {
    const ServiceHandle scm = manager(SC_MANAGER_CONNECT);
    const ServiceHandle found = service(scm, name, DELETE);
    if (!found || !DeleteService(found.get())) {
        return last_refusal();
    }
    return std::nullopt;
}

void Win32ServiceManager::note_right_granted(std::string_view name) {
    const DWORD one = 1;
    RegSetKeyValueW(HKEY_LOCAL_MACHINE, parameters_key(name).c_str(), granted_value, REG_DWORD,
                    &one, sizeof one);
}

bool Win32ServiceManager::right_was_granted(std::string_view name) {
    DWORD value = 0;
    DWORD size = sizeof value;
    return RegGetValueW(HKEY_LOCAL_MACHINE, parameters_key(name).c_str(), granted_value,
                        RRF_RT_REG_DWORD, nullptr, &value, &size) == ERROR_SUCCESS &&
           value == 1;
}

}  // namespace zvkob::win32
