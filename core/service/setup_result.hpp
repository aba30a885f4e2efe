#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace zvkob {

// How the elevated helper's work on the service ended, handed back to the
// window as its exit code: it runs as an administrator, maybe another user,
// so it tells the window nothing else.
enum class SetupStep : std::uint32_t {
    done = 0,
    bad_arguments,
    no_account,          // the user's SID names no account
    password_cancelled,  // the credential prompt was closed
    wrong_password,
    no_password,         // the account has no password a service can log on with
    other_account,       // the password given is another account's
    logon_right,         // the right to log on as a service could not be granted
    service_manager,     // the service manager refused
    service_exists,      // a service of this name is there already
    not_installed,       // nothing to repair or remove
    start_failed,        // installed but it would not start: everything taken away again
};

struct SetupResult {
    SetupStep step = SetupStep::done;
    std::uint32_t windows_error = 0;  // Windows' code, where Windows refused

    bool done() const { return step == SetupStep::done; }
};

// The step in the high half, Windows' code (they fit in 16 bits) in the low.
std::uint32_t setup_exit_code(const SetupResult& result);
SetupResult setup_result_of(std::uint32_t exit_code);

// What the window tells the user; `windows_words` is Windows' text for the
// error code, when there is one.
std::string setup_result_words(const SetupResult& result, bool installing,
                               std::string_view windows_words);

}  // namespace zvkob
