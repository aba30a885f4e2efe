#pragma once
#include <string>

#include "core/service/program_arguments.hpp"

namespace zvkob::win32 {

// ZV-KOB as its service: guards this copy's node until the service is
// stopped, Windows shuts down or the window takes the node back.
int run_service_program(const std::string& instance);

// ZV-KOB as the elevated helper: installs, repairs or removes the service,
// and ends with the exit code the window reads (setup_result.hpp).
int run_setup_program(const ProgramArguments& arguments, const std::string& instance);

}  // namespace zvkob::win32
