#include "service/setup/service_setup.hpp"

#include "core/service/service_rules.hpp"

namespace zvkob {
namespace {

// How long removal waits for the service to hand the node back.
constexpr std::int64_t hand_back_wait_ms = 30'000;

SetupResult refused(SetupStep step, const WindowsRefusal& refusal) {
    return {step, refusal.code};
}

SetupResult checked_password(const AccountName& account, const GivenCredentials& given,
                             std::string_view user_sid, ServiceAccount& accounts) {
    if (const auto given_sid = accounts.sid_of(given.account); !given_sid || *given_sid != user_sid) {
        return {SetupStep::other_account, 0};
    }
    WindowsRefusal failure;
    switch (accounts.check_password(account, given.password, failure)) {
        case PasswordCheck::accepted:
            return {};
        case PasswordCheck::wrong:
            return {SetupStep::wrong_password, 0};
        case PasswordCheck::no_password:
            return {SetupStep::no_password, 0};
        case PasswordCheck::failed:
            break;
    }
    return refused(SetupStep::wrong_password, failure);
}

// The right to log on as a service, granted where the account lacks it:
// whether ZV-KOB granted it now.
std::optional<SetupResult> ensure_logon_right(std::string_view sid, ServiceAccount& accounts,
                                              bool& granted) {
    const auto has = accounts.has_service_logon_right(sid);
    if (has && *has) {
        return std::nullopt;
    }
    if (const auto refusal = accounts.grant_service_logon_right(sid)) {
        return refused(SetupStep::logon_right, *refusal);
    }
    granted = true;
    return std::nullopt;
}

SetupResult install(const SetupRequest& request, ServiceManager& manager,
                    ServiceAccount& accounts, const AccountName& account) {
    const ServiceSetup setup = service_setup_for(request, account);
    if (manager.state(setup.name)) {
        return {SetupStep::service_exists, 0};
    }
    std::optional<GivenCredentials> given = accounts.ask_password(
        account, "ZV-KOB installs a service that starts your node before anyone signs in. It "
                 "runs as your account, so Windows needs your account's password.");
    if (!given) {
        return {SetupStep::password_cancelled, 0};
    }
    if (const SetupResult checked =
            checked_password(account, *given, request.arguments.user_sid, accounts);
        !checked.done()) {
        return checked;
    }
    bool granted = false;
    if (const auto failed = ensure_logon_right(request.arguments.user_sid, accounts, granted)) {
        return *failed;
    }
    const auto take_back_the_right = [&] {
        if (granted) {
            static_cast<void>(accounts.revoke_service_logon_right(request.arguments.user_sid));
        }
    };
    const auto installed = manager.install(setup, given->password);
    given->password.wipe();
    if (installed) {
        take_back_the_right();
        return refused(SetupStep::service_manager, *installed);
    }
    if (granted) {
        manager.note_right_granted(setup.name);
    }
    if (const auto start = manager.start(setup.name)) {
        static_cast<void>(manager.remove(setup.name));
        take_back_the_right();
        return refused(SetupStep::start_failed, *start);
    }
    return {};
}

SetupResult repair(const SetupRequest& request, ServiceManager& manager,
                   const AccountName& account) {
    const ServiceSetup setup = service_setup_for(request, account);
    if (!manager.state(setup.name)) {
        return {SetupStep::not_installed, 0};
    }
    if (const auto refusal = manager.repair(setup)) {
        return refused(SetupStep::service_manager, *refusal);
    }
    return {};
}

SetupResult remove(const SetupRequest& request, ServiceManager& manager,
                   ServiceAccount& accounts, const AccountName& account) {
    const std::string name = service_setup_for(request, account).name;
    const auto state = manager.state(name);
    if (!state) {
        return {SetupStep::not_installed, 0};
    }
    if (*state != ServiceRun::stopped) {
        if (const auto refusal = manager.stop_with(name, hand_node_back_control, hand_back_wait_ms)) {
            return refused(SetupStep::service_manager, *refusal);
        }
    }
    const bool granted = manager.right_was_granted(name);
    if (const auto refusal = manager.remove(name)) {
        return refused(SetupStep::service_manager, *refusal);
    }
    if (granted) {
        static_cast<void>(accounts.revoke_service_logon_right(request.arguments.user_sid));
    }
    return {};
}

}  // namespace

ServiceSetup service_setup_for(const SetupRequest& request, const AccountName& account) {
    return {.name = service_name(request.instance, account.user),
            .description = "Starts the node of ZV-KOB " + request.instance +
                           " at boot, before anyone signs in, keeps it running and stops it "
                           "cleanly at shut-down.",
            .command_line = service_command_line(request.program_path),
            .account = account.qualified(),
            .shutdown_wait_ms = request.arguments.shutdown_wait_ms};
}

SetupResult run_setup(const SetupRequest& request, ServiceManager& manager,
                      ServiceAccount& accounts) {
    const auto account = accounts.account_of(request.arguments.user_sid);
    if (!account) {
        return {SetupStep::no_account, 0};
    }
    switch (request.arguments.role) {
        case ProgramRole::install_service:
            return install(request, manager, accounts, *account);
        case ProgramRole::repair_service:
            return repair(request, manager, *account);
        case ProgramRole::remove_service:
            return remove(request, manager, accounts, *account);
        case ProgramRole::window:
        case ProgramRole::service:
            break;
    }
    return {SetupStep::bad_arguments, 0};
}

}  // namespace zvkob
