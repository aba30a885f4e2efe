#include "platform/win32/notification_area/shell_notify_functions.hpp"

#include "platform/win32/wide_text.hpp"

namespace zvkob::win32 {
namespace {

template <typename Function>
Function function_of(HMODULE module, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace

// Only from System32: never a shell32.dll lying beside the program.
bool ShellNotifyFunctions::loaded() {
    if (tried_) {
        return notify_icon_ != nullptr;
    }
    tried_ = true;
    shell32_ = Library(LoadLibraryExW(L"shell32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
    if (!shell32_) {
        failure_ = "Windows could not load shell32.dll: " + system_error_text(GetLastError());
        return false;
    }
    notify_icon_ = function_of<NotifyIcon>(shell32_.get(), "Shell_NotifyIconW");
    query_user_state_ = function_of<QueryUserState>(shell32_.get(), "SHQueryUserNotificationState");
    if (notify_icon_ == nullptr) {
        failure_ = "This Windows has no notification area: shell32.dll lacks Shell_NotifyIconW.";
    }
    return notify_icon_ != nullptr;
}

bool ShellNotifyFunctions::notify_icon(DWORD message, NOTIFYICONDATAW& data) {
    return loaded() && notify_icon_(message, &data) != FALSE;
}

std::optional<QUERY_USER_NOTIFICATION_STATE> ShellNotifyFunctions::user_state() {
    QUERY_USER_NOTIFICATION_STATE state{};
    if (!loaded() || query_user_state_ == nullptr || FAILED(query_user_state_(&state))) {
        return std::nullopt;
    }
    return state;
}

}  // namespace zvkob::win32
