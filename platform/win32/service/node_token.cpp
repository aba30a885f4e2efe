#include "platform/win32/service/node_token.hpp"

#include <winsafer.h>

#include "platform/win32/wide_text.hpp"

namespace zvkob::win32 {
namespace {

constexpr DWORD token_rights = TOKEN_QUERY | TOKEN_DUPLICATE | TOKEN_ASSIGN_PRIMARY |
                               TOKEN_ADJUST_DEFAULT | TOKEN_ADJUST_SESSIONID;

bool is_administrator() {
    SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
    PSID administrators = nullptr;
    if (!AllocateAndInitializeSid(&nt, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0,
                                  0, 0, 0, 0, 0, &administrators)) {
        return true;  // unknown: taken as the worse case
    }
    BOOL member = TRUE;
    if (!CheckTokenMembership(nullptr, administrators, &member)) {
        member = TRUE;
    }
    FreeSid(administrators);
    return member != FALSE;
}

KernelHandle primary_copy(HANDLE token) {
    KernelHandle copy;
    if (!DuplicateTokenEx(token, token_rights, nullptr, SecurityImpersonation, TokenPrimary,
                          copy.receive())) {
        return {};
    }
    return copy;
}

// A handle is a token only where Windows can read it as one.
bool usable(HANDLE token) {
    TOKEN_TYPE type{};
    DWORD size = 0;
    return GetTokenInformation(token, TokenType, &type, sizeof type, &size) != FALSE &&
           type == TokenPrimary;
}

bool set_medium_integrity(HANDLE token) {
    SID_IDENTIFIER_AUTHORITY label = SECURITY_MANDATORY_LABEL_AUTHORITY;
    PSID medium = nullptr;
    if (!AllocateAndInitializeSid(&label, 1, SECURITY_MANDATORY_MEDIUM_RID, 0, 0, 0, 0, 0, 0, 0,
                                  &medium)) {
        return false;
    }
    TOKEN_MANDATORY_LABEL level{};
    level.Label.Attributes = SE_GROUP_INTEGRITY;
    level.Label.Sid = medium;
    const BOOL set = SetTokenInformation(token, TokenIntegrityLevel, &level,
                                         sizeof level + GetLengthSid(medium));
    FreeSid(medium);
    return set != FALSE;
}

KernelHandle normal_user_token() {
    SAFER_LEVEL_HANDLE level = nullptr;
    if (!SaferCreateLevel(SAFER_SCOPEID_USER, SAFER_LEVELID_NORMALUSER, SAFER_LEVEL_OPEN, &level,
                          nullptr)) {
        return {};
    }
    KernelHandle token;
    const BOOL computed = SaferComputeTokenFromLevel(level, nullptr, token.receive(), 0, nullptr);
    SaferCloseLevel(level);
    if (!computed || !usable(token.get()) || !set_medium_integrity(token.get())) {
        return {};
    }
    return token;
}

KernelHandle limited_half(HANDLE own) {
    TOKEN_LINKED_TOKEN linked{};
    DWORD size = 0;
    TOKEN_ELEVATION_TYPE type = TokenElevationTypeDefault;
    if (!GetTokenInformation(own, TokenElevationType, &type, sizeof type, &size) ||
        type != TokenElevationTypeFull ||
        !GetTokenInformation(own, TokenLinkedToken, &linked, sizeof linked, &size)) {
        return {};
    }
    const KernelHandle limited(linked.LinkedToken);
    return primary_copy(limited.get());
}

}  // namespace

KernelHandle node_token(std::string& failure) {
    KernelHandle own;
    if (!OpenProcessToken(GetCurrentProcess(), token_rights, own.receive())) {
        failure = "Windows would not give the service its own token: " +
                  system_error_text(GetLastError());
        return {};
    }
    if (!is_administrator()) {
        return primary_copy(own.get());
    }
    if (KernelHandle normal = normal_user_token()) {
        return normal;
    }
    if (KernelHandle limited = limited_half(own.get())) {
        return limited;
    }
    failure = "the account is an administrator's and Windows gave no token without "
              "an administrator's rights; the node is never started elevated";
    return {};
}

}  // namespace zvkob::win32
