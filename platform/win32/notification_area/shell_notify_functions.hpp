#pragma once
#include <windows.h>
#include <shellapi.h>

#include <optional>
#include <string>

#include "platform/win32/owners.hpp"

namespace zvkob::win32 {

// shell32's notification-area functions, loaded from the system folder the
// first time they are needed: the tick that uses them is off by default.
class ShellNotifyFunctions {
public:
    using NotifyIcon = BOOL(WINAPI*)(DWORD, PNOTIFYICONDATAW);

    ShellNotifyFunctions() = default;
    // Calls `stand_in` in place of Shell_NotifyIconW: a test's notification
    // area that refuses what it is told to.
    explicit ShellNotifyFunctions(NotifyIcon stand_in) : tried_(true), notify_icon_(stand_in) {}

    // Whether they are there; failure() says why not.
    bool loaded();
    const std::string& failure() const { return failure_; }

    // Shell_NotifyIconW; false when it is not loaded or the area refuses.
    bool notify_icon(DWORD message, NOTIFYICONDATAW& data);
    // SHQueryUserNotificationState, or nothing when Windows cannot tell.
    std::optional<QUERY_USER_NOTIFICATION_STATE> user_state();

private:
    using QueryUserState = HRESULT(WINAPI*)(QUERY_USER_NOTIFICATION_STATE*);

    bool tried_ = false;
    Library shell32_;
    NotifyIcon notify_icon_ = nullptr;
    QueryUserState query_user_state_ = nullptr;
    std::string failure_;
};

}  // namespace zvkob::win32
