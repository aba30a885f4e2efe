#include "platform/win32/service/service_dispatch.hpp"

#include "platform/win32/power/win32_power_source.hpp"
#include "platform/win32/wide_text.hpp"

namespace zvkob::win32 {
namespace {

// What StartServiceCtrlDispatcherW's plain functions reach: one service per process.
struct Dispatched {
    ServiceBody body;
    ServiceControls controls;
    SERVICE_STATUS_HANDLE handle = nullptr;
};
Dispatched* dispatched = nullptr;

class Win32ServiceStatus : public ServiceStatus {
public:
    explicit Win32ServiceStatus(SERVICE_STATUS_HANDLE handle) : handle_(handle) {}
    void running() override { tell(running_status()); }
    void stop_pending(std::uint32_t checkpoint, std::uint32_t wait_hint_ms) override {
        tell(stop_pending_status(checkpoint, wait_hint_ms));
    }
    // Told once the body has returned and let go of all it held: once
    // told, the process may end at any moment.
    void stopped(std::uint32_t exit_code) override { exit_code_ = exit_code; }
    void tell_stopped() { tell(stopped_status(exit_code_)); }

private:
    void tell(SERVICE_STATUS status) { SetServiceStatus(handle_, &status); }

    SERVICE_STATUS_HANDLE handle_;
    DWORD exit_code_ = 0;
};

SERVICE_STATUS status_of(DWORD state, DWORD controls) {
    SERVICE_STATUS status{};
    status.dwServiceType = SERVICE_WIN32_OWN_PROCESS;
    status.dwCurrentState = state;
    status.dwControlsAccepted = controls;
    return status;
}

DWORD WINAPI handler(DWORD control, DWORD event_type, void* event_data, void*) {
    const ControlHeard heard = control_heard(control, event_type, event_data);
    if (heard.control && dispatched != nullptr) {
        dispatched->controls.deliver(*heard.control);
    }
    return heard.answer;
}

void WINAPI service_main(DWORD, LPWSTR*) {
    dispatched->handle = RegisterServiceCtrlHandlerExW(L"", handler, nullptr);
    if (dispatched->handle == nullptr) {
        return;
    }
    Win32ServiceStatus status(dispatched->handle);
    SERVICE_STATUS starting = status_of(SERVICE_START_PENDING, 0);
    starting.dwWaitHint = 10'000;
    SetServiceStatus(dispatched->handle, &starting);
    dispatched->body(status, dispatched->handle, dispatched->controls);
    status.tell_stopped();
}

}  // namespace

void ServiceControls::listen(std::function<void(const ServiceControl&)> listener) {
    const std::lock_guard lock(mutex_);
    listener_ = std::move(listener);
}

void ServiceControls::deliver(const ServiceControl& control) {
    const std::lock_guard lock(mutex_);
    if (listener_) {
        listener_(control);
    }
}

ControlHeard control_heard(DWORD control, DWORD event_type, void* event_data) {
    switch (control) {
        case SERVICE_CONTROL_STOP:
            return {NO_ERROR, ServiceControl{ServiceControl::Kind::stop, {}}};
        case SERVICE_CONTROL_PRESHUTDOWN:
            return {NO_ERROR, ServiceControl{ServiceControl::Kind::shutdown_coming, {}}};
        case 128:  // hand_node_back_control
            return {NO_ERROR, ServiceControl{ServiceControl::Kind::hand_back, {}}};
        case SERVICE_CONTROL_INTERROGATE:
            return {NO_ERROR, std::nullopt};
        case SERVICE_CONTROL_POWEREVENT: {
            if (event_type == PBT_APMRESUMEAUTOMATIC || event_type == PBT_APMRESUMESUSPEND) {
                return {NO_ERROR, ServiceControl{ServiceControl::Kind::resumed, {}}};
            }
            const PowerEvent power =
                power_event_of(event_type, reinterpret_cast<LPARAM>(event_data));
            if (power.kind == PowerEvent::Kind::other) {
                return {NO_ERROR, std::nullopt};
            }
            return {NO_ERROR, ServiceControl{ServiceControl::Kind::power, power}};
        }
        default:
            return {ERROR_CALL_NOT_IMPLEMENTED, std::nullopt};
    }
}

SERVICE_STATUS running_status() {
    return status_of(SERVICE_RUNNING, accepted_controls);
}

SERVICE_STATUS stop_pending_status(DWORD checkpoint, DWORD wait_hint_ms) {
    SERVICE_STATUS status = status_of(SERVICE_STOP_PENDING, 0);
    status.dwCheckPoint = checkpoint;
    status.dwWaitHint = wait_hint_ms;
    return status;
}

SERVICE_STATUS stopped_status(DWORD exit_code) {
    SERVICE_STATUS status = status_of(SERVICE_STOPPED, 0);
    status.dwWin32ExitCode = exit_code;
    return status;
}

std::string run_as_service(ServiceBody body) {
    Dispatched run{std::move(body), {}, nullptr};
    dispatched = &run;
    SERVICE_TABLE_ENTRYW table[] = {{const_cast<wchar_t*>(L""), service_main}, {nullptr, nullptr}};
    const BOOL ran = StartServiceCtrlDispatcherW(table);
    const DWORD code = GetLastError();
    dispatched = nullptr;
    if (!ran) {
        return code == ERROR_FAILED_SERVICE_CONTROLLER_CONNECT
                   ? "ZV-KOB was started as a service, but not by the service manager."
                   : system_error_text(code);
    }
    return {};
}

}  // namespace zvkob::win32
