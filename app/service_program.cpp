// The service and its helper put together: the Win32 services a window-less
// guard needs, the loop on the service's thread, the service manager's
// controls posted to it.
#include "app/service_program.hpp"

#include <array>
#include <future>
#include <memory>

#include "core/event_gate.hpp"
#include "core/service/service_rules.hpp"
#include "guardian/node/wallets_over_rpc.hpp"
#include "platform/win32/files/program_file.hpp"
#include "platform/win32/files/win32_file_system.hpp"
#include "platform/win32/files/win32_history.hpp"
#include "platform/win32/files/win32_record_writer.hpp"
#include "platform/win32/network/win32_link_cost.hpp"
#include "platform/win32/network/win32_loopback_http.hpp"
#include "platform/win32/network/win32_port_listeners.hpp"
#include "platform/win32/power/win32_power_request.hpp"
#include "platform/win32/power/win32_power_source.hpp"
#include "platform/win32/processes/com_apartment.hpp"
#include "platform/win32/processes/win32_node_control.hpp"
#include "platform/win32/processes/win32_process_priority.hpp"
#include "platform/win32/processes/wmi_process_probe.hpp"
#include "platform/win32/registry_settings_store.hpp"
#include "platform/win32/service/channel_pipe.hpp"
#include "platform/win32/service/detached_node_runner.hpp"
#include "platform/win32/service/service_dispatch.hpp"
#include "platform/win32/service/service_loop.hpp"
#include "platform/win32/service/win32_node_service.hpp"
#include "platform/win32/service/win32_service_account.hpp"
#include "platform/win32/service/win32_service_manager.hpp"
#include "platform/win32/win32_background_work.hpp"
#include "platform/win32/win32_clock.hpp"
#include "service/guarding/service_channel.hpp"
#include "service/guarding/service_guard.hpp"
#include "service/guarding/unseen_services.hpp"
#include "service/setup/service_setup.hpp"

namespace zvkob::win32 {
namespace {

constexpr UINT watcher_every_ms = 500;
constexpr UINT progress_every_ms = 2000;

// The services of the guard, made in the order they rely on one another
// and let go of in the reverse: the history first, the worker last.
struct ServiceServices {
    explicit ServiceServices(const std::string& instance)
        : history(instance, FolderFrom::shell),
          store(application_name, instance),
          gate([this](std::string_view what) {
              history.record("ZV-KOB's service met a problem and carried on: " + std::string(what));
          }),
          background(gate) {}

    Win32History history;
    RegistrySettingsStore store;
    WmiProcessProbe probe;
    Win32Clock clock;
    Win32FileSystem files;
    Win32NodeControl nodes;
    EventGate gate;
    Win32LoopbackHttp http;
    Win32PortListeners listeners;
    Win32PowerRequest power;
    Win32PowerSource power_source;
    Win32ProcessPriority priority;
    Win32RecordWriter records;
    Win32LinkCost link_cost;
    NoWindows windows;
    NoOtherCopies copies;
    GivenFolderPicker folder_picker;
    NoClipboard clipboard;
    WalletsOverRpc wallets{http, listeners, files};
    DetachedNodeRunner runner;
    Win32BackgroundWork background;

    GuardianServices guardian() {
        return {history,  clock,      windows, files,   records,  power,     power_source,
                link_cost, priority,  background, gate, http,     listeners, nodes,
                wallets,  store,      folder_picker, probe, copies, clipboard};
    }
};

void hear(ServiceGuard& guard, EventGate& gate, const ServiceControl& control) {
    static constexpr std::array<char, 5> kinds{};  // one waiting control of each kind
    gate.run_when_free(&kinds[static_cast<std::size_t>(control.kind)], [&guard, control] {
        switch (control.kind) {
            case ServiceControl::Kind::stop:
                guard.stop_asked("The service was asked to stop");
                break;
            case ServiceControl::Kind::shutdown_coming:
                guard.stop_asked("Windows shuts down");
                break;
            case ServiceControl::Kind::hand_back:
                guard.hand_back_asked();
                break;
            case ServiceControl::Kind::power:
                guard.power_event(control.power);
                break;
            case ServiceControl::Kind::resumed:
                guard.resumed();
                break;
        }
    });
}

// A window's request, answered on the guard's thread; one that finds the
// guard gone, or busy beyond the window's wait, is refused.
std::string answer_on_the_loop(ServiceLoop& loop, ServiceServices& services, ServiceGuard& guard,
                               const std::string& request) {
    auto answered = std::make_shared<std::promise<std::string>>();
    std::future<std::string> answer = answered->get_future();
    loop.post([&guard, &services, request, answered] {
        services.gate.run([&] {  // a failure is noted in the history, never fatal
            answered->set_value(
                answer_request(guard, services.history, services.folder_picker, request));
        });
    });
    try {
        if (answer.wait_for(std::chrono::seconds(2)) == std::future_status::ready) {
            return answer.get();
        }
    } catch (const std::future_error&) {
        // the guard's loop ended with the request still in it
    }
    return std::string(refused_answer);
}

void guard_the_node(const std::string& instance, ServiceStatus& status,
                    SERVICE_STATUS_HANDLE handle, ServiceControls& controls) {
    const ComApartment com;
    ServiceLoop loop;
    ServiceServices services(instance);
    const ServiceNames names{instance, service_name(instance, signed_in_user_name())};
    ServiceGuard guard(services.guardian(), services.runner, status, names);
    controls.listen([&loop, &guard, &services](const ServiceControl& control) {
        loop.post([&guard, &services, control] { hear(guard, services.gate, control); });
    });
    const PowerSettingNotifications power_settings(handle, DEVICE_NOTIFY_SERVICE_HANDLE);
    const ChannelServer channel(names.service, signed_in_user_sid(),
                                [&](const std::string& request) {
                                    return answer_on_the_loop(loop, services, guard, request);
                                });
    if (!channel.failure().empty()) {
        services.history.record("The service's channel to the window could not be opened (" +
                                channel.failure() + "); the window cannot see its node.");
    }
    loop.every(watcher_every_ms, [&] { services.gate.run([&guard] { guard.watcher_tick(); }); });
    loop.every(progress_every_ms, [&] { services.gate.run([&guard] { guard.progress_tick(); }); });
    services.gate.run([&guard] { guard.begin(); });
    loop.run_until([&guard] { return guard.ended(); });
    controls.listen(nullptr);
    services.background.finish_within(std::chrono::seconds(5));
}

}  // namespace

int run_service_program(const std::string& instance) {
    const std::string failure = run_as_service(
        [&instance](ServiceStatus& status, SERVICE_STATUS_HANDLE handle, ServiceControls& controls) {
            guard_the_node(instance, status, handle, controls);
        });
    return failure.empty() ? 0 : 1;
}

int run_setup_program(const ProgramArguments& arguments, const std::string& instance) {
    Win32ServiceManager manager;
    Win32ServiceAccount account;
    const SetupResult result =
        run_setup({arguments, instance, program_file_path()}, manager, account);
    return static_cast<int>(setup_exit_code(result));
}

}  // namespace zvkob::win32
