#pragma once
#include "platform/service_account.hpp"

namespace zvkob::win32 {

// The account, its password and its rights, asked of Windows by the
// elevated helper in the user's session.
class Win32ServiceAccount : public ServiceAccount {
public:
    std::optional<AccountName> account_of(std::string_view sid) override;
    std::optional<std::string> sid_of(std::string_view account) override;
    std::optional<GivenCredentials> ask_password(const AccountName& account,
                                                 std::string_view why) override;
    PasswordCheck check_password(const AccountName& account, const SecretPassword& password,
                                 WindowsRefusal& failure) override;
    std::optional<bool> has_service_logon_right(std::string_view sid) override;
    std::optional<WindowsRefusal> grant_service_logon_right(std::string_view sid) override;
    std::optional<WindowsRefusal> revoke_service_logon_right(std::string_view sid) override;
};

}  // namespace zvkob::win32
