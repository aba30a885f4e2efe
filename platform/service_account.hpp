#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "core/secret_password.hpp"
#include "platform/service_manager.hpp"

namespace zvkob {

// An account as the service manager names it.
struct AccountName {
    std::string domain;  // the PC's name for a local account
    std::string user;

    std::string qualified() const { return domain + "\\" + user; }
};

// What the credential prompt gave: the account typed (maybe another) and its
// password, or nothing when the user closed it.
struct GivenCredentials {
    std::string account;
    SecretPassword password;
};

enum class PasswordCheck { accepted, wrong, no_password, failed };

// The account the service runs as, asked of Windows in the user's session.
class ServiceAccount {
public:
    virtual ~ServiceAccount() = default;

    virtual std::optional<AccountName> account_of(std::string_view sid) = 0;
    virtual std::optional<std::string> sid_of(std::string_view account) = 0;
    // Windows' own credential prompt, the account filled in; none when closed.
    virtual std::optional<GivenCredentials> ask_password(const AccountName& account,
                                                         std::string_view why) = 0;
    // Whether Windows takes the password; the refusal's words in `failure`.
    virtual PasswordCheck check_password(const AccountName& account, const SecretPassword& password,
                                         WindowsRefusal& failure) = 0;
    // The right to log on as a service.
    virtual std::optional<bool> has_service_logon_right(std::string_view sid) = 0;
    virtual std::optional<WindowsRefusal> grant_service_logon_right(std::string_view sid) = 0;
    virtual std::optional<WindowsRefusal> revoke_service_logon_right(std::string_view sid) = 0;
};

}  // namespace zvkob
