#pragma once
#include <windows.h>

#include <functional>
#include <mutex>
#include <optional>
#include <string>

#include "platform/power_source.hpp"
#include "platform/service_status.hpp"

namespace zvkob::win32 {

// What the service manager tells the service, as the guard hears it.
struct ServiceControl {
    enum class Kind { stop, shutdown_coming, hand_back, power, resumed } kind = Kind::stop;
    PowerEvent power;
};

// Which controls the service takes: a stop, the notice before shut-down (so
// that Windows waits while the node stops), power events (a service gets no
// window messages of them), and the window's hand-back.
inline constexpr DWORD accepted_controls =
    SERVICE_ACCEPT_STOP | SERVICE_ACCEPT_PRESHUTDOWN | SERVICE_ACCEPT_POWEREVENT;

// The control handler's answer, and what the guard hears of it (none: nothing).
struct ControlHeard {
    DWORD answer = ERROR_CALL_NOT_IMPLEMENTED;
    std::optional<ServiceControl> control;
};
ControlHeard control_heard(DWORD control, DWORD event_type, void* event_data);

// The status the service manager is told, as SetServiceStatus takes it.
SERVICE_STATUS running_status();
SERVICE_STATUS stop_pending_status(DWORD checkpoint, DWORD wait_hint_ms);
SERVICE_STATUS stopped_status(DWORD exit_code);

// Where the controls go: to the listener the service's thread sets, which
// posts them to its loop. The handler runs on the dispatcher's thread.
class ServiceControls {
public:
    void listen(std::function<void(const ServiceControl&)> listener);
    void deliver(const ServiceControl& control);

private:
    std::mutex mutex_;
    std::function<void(const ServiceControl&)> listener_;
};

// The service's part, run on the service's own thread once the service
// manager has started it, with the status to tell and its handle (for the
// power settings' notices).
using ServiceBody =
    std::function<void(ServiceStatus& status, SERVICE_STATUS_HANDLE handle, ServiceControls& controls)>;

// Runs this process as its service until the body returns. Returns why it
// could not, or empty: started by anyone but the service manager, it cannot.
std::string run_as_service(ServiceBody body);

}  // namespace zvkob::win32
