#pragma once
#include <string>

#include "core/service/program_arguments.hpp"
#include "core/service/setup_result.hpp"
#include "platform/service_account.hpp"
#include "platform/service_manager.hpp"

namespace zvkob {

// What the elevated helper is run for, and by which copy.
struct SetupRequest {
    ProgramArguments arguments;  // the role, the user's SID, the shut-down wait
    std::string instance;        // this copy's name
    std::string program_path;    // this program file, which the service runs
};

// The elevated helper's work, all or nothing: a step that fails takes back
// what the steps before it did.
//
// Installing asks the user's password with Windows' prompt (the helper runs
// in the user's session), checks that Windows takes it and that it is the
// user's own (an administrator who gave consent must not get the service
// for themselves), grants the right to log on as a service where the account
// lacks it, creates the service and starts it. The password goes only to the
// service manager and is wiped after. Removing hands the node back first
// (the service ends and leaves it running), and revokes the right only
// where ZV-KOB granted it.
SetupResult run_setup(const SetupRequest& request, ServiceManager& manager,
                      ServiceAccount& account);

// The service of `instance` for this account.
ServiceSetup service_setup_for(const SetupRequest& request, const AccountName& account);

}  // namespace zvkob
