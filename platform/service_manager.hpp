#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/secret_password.hpp"

namespace zvkob {

// A refusal of Windows: its code and its words.
struct WindowsRefusal {
    std::uint32_t code = 0;
    std::string words;
};

// What the service manager is asked to install: a service started at boot,
// run as the user's own account, that Windows tells of a coming shut-down
// and waits for (up to `shutdown_wait_ms`) while it stops the node.
struct ServiceSetup {
    std::string name;          // also shown as its display name
    std::string description;
    std::string command_line;  // the program's path in quotes, and its arguments
    std::string account;       // "DOMAIN\user", or ".\user" for a local account
    std::int64_t shutdown_wait_ms = 0;
};

enum class ServiceRun { stopped, starting, running, stopping };

// The control a service understands beyond Windows' own: end the service and
// leave the node running, for the window to guard it again.
inline constexpr std::uint32_t hand_node_back_control = 128;

// The service manager, as an administrator reaches it (the window only asks).
class ServiceManager {
public:
    virtual ~ServiceManager() = default;

    // The state of the named service; none when there is no such service.
    virtual std::optional<ServiceRun> state(std::string_view name) = 0;
    // Creates it; its shut-down wait and description set, or nothing is left.
    virtual std::optional<WindowsRefusal> install(const ServiceSetup& setup,
                                                  const SecretPassword& password) = 0;
    // Points it at this program file again with this shut-down wait.
    virtual std::optional<WindowsRefusal> repair(const ServiceSetup& setup) = 0;
    virtual std::optional<WindowsRefusal> start(std::string_view name) = 0;
    // Sends a control and waits up to `wait_ms` for the service to stop.
    virtual std::optional<WindowsRefusal> stop_with(std::string_view name, std::uint32_t control,
                                                    std::int64_t wait_ms) = 0;
    virtual std::optional<WindowsRefusal> remove(std::string_view name) = 0;
    // Whether ZV-KOB granted the account the right to log on as a service
    // when it installed this service (kept with the service, for its removal).
    virtual void note_right_granted(std::string_view name) = 0;
    virtual bool right_was_granted(std::string_view name) = 0;
};

}  // namespace zvkob
