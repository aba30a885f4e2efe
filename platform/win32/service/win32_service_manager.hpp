#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "platform/service_manager.hpp"

namespace zvkob::win32 {

// The service manager of this PC. Asking a state needs no rights beyond a
// user's; the rest needs an administrator (the elevated helper).
class Win32ServiceManager : public ServiceManager {
public:
    std::optional<ServiceRun> state(std::string_view name) override;
    std::optional<WindowsRefusal> install(const ServiceSetup& setup,
                                          const SecretPassword& password) override;
    std::optional<WindowsRefusal> repair(const ServiceSetup& setup) override;
    std::optional<WindowsRefusal> start(std::string_view name) override;
    std::optional<WindowsRefusal> stop_with(std::string_view name, std::uint32_t control,
                                            std::int64_t wait_ms) override;
    std::optional<WindowsRefusal> remove(std::string_view name) override;
    void note_right_granted(std::string_view name) override;
    bool right_was_granted(std::string_view name) override;

    // The running service's process, or 0.
    unsigned long process_id(std::string_view name);
    // What it runs, and Windows' code of its last stop or failed start.
    struct Kept {
        std::string command_line;
        std::uint32_t exit_code = 0;
    };
    Kept kept(std::string_view name);
    // The names of the services that begin so.
    std::vector<std::string> names_beginning(std::string_view beginning);
};

// What the service's configuration holds beside Windows' own: Windows waits
// at shut-down, and the service runs on its own (not shared) process.
SERVICE_PRESHUTDOWN_INFO shutdown_wait_info(std::int64_t wait_ms);
inline constexpr DWORD node_service_type = SERVICE_WIN32_OWN_PROCESS;
inline constexpr DWORD node_service_start = SERVICE_AUTO_START;

}  // namespace zvkob::win32
