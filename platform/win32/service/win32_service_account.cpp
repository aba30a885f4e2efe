#include "platform/win32/service/win32_service_account.hpp"

#include <windows.h>
#include <ntsecapi.h>
#include <sddl.h>
#include <wincred.h>

#include <vector>

#include "platform/win32/owners.hpp"
#include "platform/win32/wide_text.hpp"

namespace zvkob::win32 {
namespace {

constexpr wchar_t service_logon_right[] = L"SeServiceLogonRight";
// The prompt's own name for what is asked; wine puts it before the user's name.
constexpr wchar_t prompt_target[] = L"ZV-KOB";

// A SID made from its text, freed when it goes.
class Sid {
public:
    explicit Sid(std::string_view text) {
        if (!ConvertStringSidToSidW(widen(text).c_str(), &sid_)) {
            sid_ = nullptr;
        }
    }
    ~Sid() {
        if (sid_ != nullptr) {
            LocalFree(sid_);
        }
    }
    Sid(const Sid&) = delete;
    Sid& operator=(const Sid&) = delete;
    PSID get() const { return sid_; }

private:
    PSID sid_ = nullptr;
};

class Policy {
public:
    explicit Policy(ACCESS_MASK rights) {
        LSA_OBJECT_ATTRIBUTES attributes{};
        status_ = LsaOpenPolicy(nullptr, &attributes, rights, &policy_);
    }
    ~Policy() {
        if (policy_ != nullptr) {
            LsaClose(policy_);
        }
    }
    Policy(const Policy&) = delete;
    Policy& operator=(const Policy&) = delete;
    LSA_HANDLE get() const { return policy_; }
    NTSTATUS status() const { return status_; }

private:
    LSA_HANDLE policy_ = nullptr;
    NTSTATUS status_ = 0;
};

WindowsRefusal refusal_of_status(NTSTATUS status) {
    const DWORD code = LsaNtStatusToWinError(status);
    return {code, system_error_text(code)};
}

LSA_UNICODE_STRING lsa_text(const wchar_t* text) {
    const auto bytes = static_cast<USHORT>(wcslen(text) * sizeof(wchar_t));
    return {bytes, bytes, const_cast<wchar_t*>(text)};
}

std::optional<WindowsRefusal> change_right(std::string_view sid_text, bool grant) {
    const Sid sid(sid_text);
    if (sid.get() == nullptr) {
        return WindowsRefusal{ERROR_INVALID_SID, system_error_text(ERROR_INVALID_SID)};
    }
    const Policy policy(POLICY_LOOKUP_NAMES | POLICY_CREATE_ACCOUNT);
    if (policy.status() != 0) {
        return refusal_of_status(policy.status());
    }
    LSA_UNICODE_STRING right = lsa_text(service_logon_right);
    const NTSTATUS status = grant ? LsaAddAccountRights(policy.get(), sid.get(), &right, 1)
                                  : LsaRemoveAccountRights(policy.get(), sid.get(), FALSE, &right, 1);
    return status == 0 ? std::nullopt : std::optional(refusal_of_status(status));
}

// The name the prompt gave: without the prompt's target before it (wine's
// prompt gives "ZV-KOB\ann").
std::string typed_account(std::wstring typed) {
    const std::wstring prefix = std::wstring(prompt_target) + L"\\";
    if (typed.starts_with(prefix)) {
        typed.erase(0, prefix.size());
    }
    return narrow(typed);
}

std::optional<GivenCredentials> modern_prompt(const AccountName& account, std::string_view why,
                                              bool& available) {
    const std::wstring caption = L"ZV-KOB: start the node before sign-in";
    const std::wstring message = widen(why);
    CREDUI_INFOW info{sizeof info, nullptr, message.c_str(), caption.c_str(), nullptr};
    // The account filled in: the user types the password alone.
    std::wstring user = widen(account.qualified());
    DWORD in_size = 0;
    CredPackAuthenticationBufferW(0, user.data(), const_cast<wchar_t*>(L""), nullptr, &in_size);
    std::vector<BYTE> in(in_size);
    if (in_size == 0 ||
        !CredPackAuthenticationBufferW(0, user.data(), const_cast<wchar_t*>(L""), in.data(),
                                       &in_size)) {
        in.clear();
        in_size = 0;
    }
    ULONG package = 0;
    void* out = nullptr;
    ULONG out_size = 0;
    const DWORD asked = CredUIPromptForWindowsCredentialsW(
        &info, 0, &package, in.empty() ? nullptr : in.data(), in_size, &out, &out_size, nullptr,
        CREDUIWIN_GENERIC | (in.empty() ? 0 : CREDUIWIN_IN_CRED_ONLY));
    available = asked != ERROR_CALL_NOT_IMPLEMENTED;
    if (asked != ERROR_SUCCESS || out == nullptr) {
        return std::nullopt;
    }
    std::wstring name(CREDUI_MAX_USERNAME_LENGTH + 1, L'\0');
    std::wstring password(CREDUI_MAX_PASSWORD_LENGTH + 1, L'\0');
    DWORD name_size = static_cast<DWORD>(name.size());
    DWORD password_size = static_cast<DWORD>(password.size());
    const BOOL unpacked = CredUnPackAuthenticationBufferW(0, out, out_size, name.data(), &name_size,
                                                          nullptr, nullptr, password.data(),
                                                          &password_size);
    SecureZeroMemory(out, out_size);
    CoTaskMemFree(out);
    password.resize(wcslen(password.c_str()));  // the rest of its buffer is wiped with it
    SecretPassword secret(std::move(password));
    if (!unpacked) {
        return std::nullopt;
    }
    name.resize(wcslen(name.c_str()));
    return GivenCredentials{typed_account(name), std::move(secret)};
}

// The older prompt, where the newer one is not there (wine).
std::optional<GivenCredentials> older_prompt(const AccountName& account, std::string_view why) {
    const std::wstring caption = L"ZV-KOB: start the node before sign-in";
    const std::wstring message = widen(why);
    CREDUI_INFOW info{sizeof info, nullptr, message.c_str(), caption.c_str(), nullptr};
    std::wstring name = widen(account.qualified());
    name.resize(CREDUI_MAX_USERNAME_LENGTH + 1, L'\0');
    std::wstring password(CREDUI_MAX_PASSWORD_LENGTH + 1, L'\0');
    BOOL save = FALSE;
    const DWORD asked = CredUIPromptForCredentialsW(
        &info, prompt_target, nullptr, 0, name.data(), static_cast<ULONG>(name.size()),
        password.data(), static_cast<ULONG>(password.size()), &save,
        CREDUI_FLAGS_GENERIC_CREDENTIALS | CREDUI_FLAGS_DO_NOT_PERSIST |
            CREDUI_FLAGS_ALWAYS_SHOW_UI | CREDUI_FLAGS_KEEP_USERNAME);
    password.resize(wcslen(password.c_str()));
    SecretPassword secret(std::move(password));
    if (asked != NO_ERROR) {
        return std::nullopt;
    }
    name.resize(wcslen(name.c_str()));
    return GivenCredentials{typed_account(name), std::move(secret)};
}

}  // namespace

std::optional<AccountName> Win32ServiceAccount::account_of(std::string_view sid_text) {
    const Sid sid(sid_text);
    if (sid.get() == nullptr) {
        return std::nullopt;
    }
    wchar_t user[256]{};
    wchar_t domain[256]{};
    DWORD user_size = 256;
    DWORD domain_size = 256;
    SID_NAME_USE use{};
    if (!LookupAccountSidW(nullptr, sid.get(), user, &user_size, domain, &domain_size, &use)) {
        return std::nullopt;
    }
    return AccountName{narrow(domain), narrow(user)};
}

std::optional<std::string> Win32ServiceAccount::sid_of(std::string_view account) {
    BYTE sid[SECURITY_MAX_SID_SIZE]{};
    DWORD sid_size = sizeof sid;
    wchar_t domain[256]{};
    DWORD domain_size = 256;
    SID_NAME_USE use{};
    if (!LookupAccountNameW(nullptr, widen(account).c_str(), sid, &sid_size, domain, &domain_size,
                            &use)) {
        return std::nullopt;
    }
    LocalMemory<wchar_t> text;
    if (!ConvertSidToStringSidW(sid, text.receive())) {
        return std::nullopt;
    }
    return narrow(text.get());
}

std::optional<GivenCredentials> Win32ServiceAccount::ask_password(const AccountName& account,
                                                                  std::string_view why) {
    bool available = true;
    auto given = modern_prompt(account, why, available);
    if (!available) {
        return older_prompt(account, why);
    }
    return given;
}

PasswordCheck Win32ServiceAccount::check_password(const AccountName& account,
                                                  const SecretPassword& password,
                                                  WindowsRefusal& failure) {
    KernelHandle token;
    if (LogonUserW(widen(account.user).c_str(), widen(account.domain).c_str(),
                   password.text().c_str(), LOGON32_LOGON_INTERACTIVE, LOGON32_PROVIDER_DEFAULT,
                   token.receive())) {
        return password.empty() ? PasswordCheck::no_password : PasswordCheck::accepted;
    }
    const DWORD code = GetLastError();
    switch (code) {
        case ERROR_LOGON_FAILURE:
            return PasswordCheck::wrong;
        case ERROR_ACCOUNT_RESTRICTION:  // a blank password, which a service cannot log on with
            return PasswordCheck::no_password;
        default:
            failure = {code, system_error_text(code)};
            return PasswordCheck::failed;
    }
}

std::optional<bool> Win32ServiceAccount::has_service_logon_right(std::string_view sid_text) {
    const Sid sid(sid_text);
    const Policy policy(POLICY_LOOKUP_NAMES);
    if (sid.get() == nullptr || policy.status() != 0) {
        return std::nullopt;
    }
    PLSA_UNICODE_STRING rights = nullptr;
    ULONG count = 0;
    const NTSTATUS status = LsaEnumerateAccountRights(policy.get(), sid.get(), &rights, &count);
    if (LsaNtStatusToWinError(status) == ERROR_FILE_NOT_FOUND) {
        return false;  // the account holds no rights of its own at all
    }
    if (status != 0) {
        return std::nullopt;
    }
    bool has = false;
    for (ULONG at = 0; at < count; ++at) {
        const std::wstring_view right(rights[at].Buffer, rights[at].Length / sizeof(wchar_t));
        has = has || right == service_logon_right;
    }
    LsaFreeMemory(rights);
    return has;
}

std::optional<WindowsRefusal> Win32ServiceAccount::grant_service_logon_right(std::string_view sid) {
    return change_right(sid, true);
}

std::optional<WindowsRefusal> Win32ServiceAccount::revoke_service_logon_right(
    std::string_view sid) {
    return change_right(sid, false);
}

}  // namespace zvkob::win32
