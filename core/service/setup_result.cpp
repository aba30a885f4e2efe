#include "core/service/setup_result.hpp"

namespace zvkob {
namespace {

constexpr std::uint32_t last_step = static_cast<std::uint32_t>(SetupStep::start_failed);

std::string with_windows_words(std::string text, std::string_view windows_words) {
    return windows_words.empty() ? text : text + "\n\nWindows said: " + std::string(windows_words);
}

std::string step_words(SetupStep step) {
    switch (step) {
        case SetupStep::done:
            return {};
        case SetupStep::bad_arguments:
            return "ZV-KOB's helper was started with arguments it does not take.";
        case SetupStep::no_account:
            return "Windows does not know the account ZV-KOB runs as.";
        case SetupStep::password_cancelled:
            return "No password was given, so nothing was installed. The service runs as you, "
                   "and Windows needs your account's password to start it before you sign in.";
        case SetupStep::wrong_password:
            return "Windows did not accept that password, so nothing was installed. Tick the "
                   "command again and type your account's password (not a PIN).";
        case SetupStep::no_password:
            return "Your account has no password a service can log on with (it signs in with a "
                   "PIN, a picture, a fingerprint or no password at all), so nothing was "
                   "installed. Give the account a password (Settings, Accounts, Sign-in "
                   "options), then tick the command again.";
        case SetupStep::other_account:
            return "That was another account's password, so nothing was installed: the service "
                   "runs as the account that uses this copy of ZV-KOB, so that the node's data, "
                   "wallets and cookie stay yours. Type your own account's password.";
        case SetupStep::logon_right:
            return "Windows would not let your account log on as a service (a policy of this PC "
                   "may forbid it), so nothing was installed.";
        case SetupStep::service_manager:
            return "The service manager refused, so nothing was installed.";
        case SetupStep::service_exists:
            return "A service of that name is there already. Clear the command and tick it "
                   "again to install it afresh.";
        case SetupStep::not_installed:
            return "There is no service of this copy to change.";
        case SetupStep::start_failed:
            return "The service was installed but Windows could not start it, so it was taken "
                   "away again and nothing is left installed.";
    }
    return {};
}

}  // namespace

std::uint32_t setup_exit_code(const SetupResult& result) {
    return (static_cast<std::uint32_t>(result.step) << 16) | (result.windows_error & 0xFFFFU);
}

SetupResult setup_result_of(std::uint32_t exit_code) {
    const std::uint32_t step = exit_code >> 16;
    if (step > last_step) {
        // Not the helper's own code: it was ended, or crashed.
        return {SetupStep::service_manager, exit_code};
    }
    return {static_cast<SetupStep>(step), exit_code & 0xFFFFU};
}

std::string setup_result_words(const SetupResult& result, bool installing,
                               std::string_view windows_words) {
    if (result.done()) {
        return installing
                   ? "The node now starts before anyone signs in: a Windows service of this "
                     "copy starts it at boot, keeps it running as your settings say, and stops "
                     "it cleanly when Windows shuts down."
                   : "The service is gone. The node is left running, and this window guards it "
                     "again.";
    }
    const std::string opening =
        installing ? "ZV-KOB could not set up the service that starts the node before sign-in.\n\n"
                   : "ZV-KOB could not take the service away.\n\n";
    return with_windows_words(opening + step_words(result.step),
                              result.windows_error == 0 ? std::string_view() : windows_words);
}

}  // namespace zvkob
