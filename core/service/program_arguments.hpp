#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace zvkob {

// What ZV-KOB is started as. These arguments are the only ones it reads, all
// of them for the service that starts the node before sign-in; started with
// anything else, ZV-KOB opens its window as it always has.
enum class ProgramRole {
    window,
    service,          // --service: run by the service manager
    install_service,  // --install-service <SID> <shut-down wait ms>: the elevated helper
    repair_service,   // --repair-service <SID> <shut-down wait ms>
    remove_service,   // --remove-service <SID>
};

struct ProgramArguments {
    ProgramRole role = ProgramRole::window;
    std::string user_sid;  // whose service the helper installs, repairs or removes
    std::int64_t shutdown_wait_ms = 0;
};

// `arguments` without the program's own name. A helper's arguments that are
// incomplete or malformed give the window: nothing is installed on a guess.
ProgramArguments program_arguments(std::span<const std::string> arguments);

// The helper's command line for `role` (the program's own path not included).
std::string helper_arguments(ProgramRole role, std::string_view user_sid,
                             std::int64_t shutdown_wait_ms);

}  // namespace zvkob
