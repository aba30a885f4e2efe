#include "platform/win32/notification_area/win32_notification_area.hpp"

#include <algorithm>

#include "platform/win32/windows/popup_menu.hpp"
#include "platform/win32/processes/program_windows.hpp"
#include "platform/win32/notification_area/tray_icon_image.hpp"
#include "platform/win32/wide_text.hpp"

namespace zvkob::win32 {
namespace {

// UTF-8 into one of the structure's fixed fields, cut at a whole character with "…".
template <std::size_t Size>
void put(wchar_t (&field)[Size], std::string_view text) {
    std::wstring wide = widen(text);
    if (wide.size() >= Size) {
        std::size_t keep = Size - 2;
        if (IS_HIGH_SURROGATE(wide[keep - 1])) {
            --keep;
        }
        wide.resize(keep);
        wide += L'\u2026';
    }
    std::copy(wide.begin(), wide.end(), field);
    field[wide.size()] = L'\0';
}

DWORD notice_flags(NoticeKind kind) {
    switch (kind) {
        case NoticeKind::restarting:
            return NIIF_INFO;  // ZV-KOB is seeing to it
        case NoticeKind::gave_up:
            return NIIF_ERROR;
        case NoticeKind::trouble:
        case NoticeKind::disk_filling:
        case NoticeKind::node_warns:
            return NIIF_WARNING;
        case NoticeKind::caught_up:
            return NIIF_USER;  // the icon itself, with its green mark
    }
    return NIIF_INFO;
}

ScreenPoint point_of(DWORD packed) {
    return {static_cast<short>(LOWORD(packed)), static_cast<short>(HIWORD(packed))};
}

}  // namespace

UINT taskbar_created_message() {
    static const UINT message = RegisterWindowMessageW(L"TaskbarCreated");
    return message;
}

HWND Win32NotificationArea::window() const {
    return given_window_ != nullptr ? given_window_ : main_program_window();
}

NOTIFYICONDATAW Win32NotificationArea::data(UINT flags) const {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = added_to_ != nullptr ? added_to_ : window();
    data.uID = notification_icon_id;
    data.uFlags = flags;
    data.uCallbackMessage = notification_area_message;
    data.hIcon = image_.get();
    put(data.szTip, shown_.tooltip);
    return data;
}

bool Win32NotificationArea::redraw(TrayMark mark) {
    const int size = notification_icon_size();
    if (image_ && mark == image_mark_ && size == image_size_) {
        return true;
    }
    IconHandle made = marked_icon(mark, size);
    if (!made) {
        return false;
    }
    image_ = std::move(made);  // the area keeps a copy of the one it shows
    image_mark_ = mark;
    image_size_ = size;
    return true;
}

bool Win32NotificationArea::show(const TrayIcon& icon) {
    const HWND target = window();
    if (!shell_.loaded()) {
        why_ = shell_.failure();
        return false;
    }
    if (target == nullptr) {
        why_ = "ZV-KOB's window, which the icon's messages go to, does not exist.";
        return false;
    }
    if (!redraw(icon.mark)) {
        why_ = "Windows could not draw ZV-KOB's icon: " + system_error_text(GetLastError());
        return false;
    }
    shown_ = icon;
    if (added_to_ != nullptr && added_to_ != target) {
        remove();
        added_to_ = nullptr;  // an icon of a window that went is cleared with it
    }
    NOTIFYICONDATAW changed = data(NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_SHOWTIP);
    if (added_to_ != nullptr && shell_.notify_icon(NIM_MODIFY, changed)) {
        return true;
    }
    // Gone with an Explorer that ended, or refused by a busy one: added
    // again, or changed once more. Until then the icon is still known, so
    // that a later show tries again and remove() takes it away.
    return add(changed);
}

// An elevated ZV-KOB lets Explorer's messages through. An icon that is still
// there (a change refused, TaskbarCreated without a new taskbar) is refused
// as new but changes.
bool Win32NotificationArea::add(NOTIFYICONDATAW& icon) {
    for (const UINT message : {taskbar_created_message(), notification_area_message}) {
        ChangeWindowMessageFilterEx(icon.hWnd, message, MSGFLT_ALLOW, nullptr);
    }
    if (!shell_.notify_icon(NIM_ADD, icon) && !shell_.notify_icon(NIM_MODIFY, icon)) {
        why_ = FindWindowW(L"Shell_TrayWnd", nullptr) == nullptr
                   ? "The taskbar is not there: Explorer is not running, or still starting."
                   : "The notification area refused ZV-KOB's icon.";
        return false;
    }
    added_to_ = icon.hWnd;
    icon.uVersion = NOTIFYICON_VERSION_4;
    version_4_ = shell_.notify_icon(NIM_SETVERSION, icon);
    return true;
}

// A refused delete is tried again at the next remove(), at the latest as
// ZV-KOB ends, rather than leave an icon behind that nothing answers.
void Win32NotificationArea::remove() {
    if (added_to_ == nullptr) {
        return;
    }
    NOTIFYICONDATAW icon = data(0);
    if (shell_.notify_icon(NIM_DELETE, icon)) {
        added_to_ = nullptr;
    }
}

bool Win32NotificationArea::notify(NoticeKind kind, std::string_view title, std::string_view text) {
    if (added_to_ == nullptr) {
        why_ = "ZV-KOB's icon, which a notice comes from, is not in the notification area.";
        return false;
    }
    NOTIFYICONDATAW notice = data(NIF_INFO | NIF_ICON);
    put(notice.szInfoTitle, title);
    put(notice.szInfo, text.empty() ? std::string_view(" ") : text);  // empty takes a notice away
    notice.dwInfoFlags = notice_flags(kind) | NIIF_RESPECT_QUIET_TIME;
    if (!shell_.notify_icon(NIM_MODIFY, notice)) {
        why_ = "The notification area refused the notice.";
        return false;
    }
    return true;
}

// A user away (locked, screen saver) would find only stale notices.
bool Win32NotificationArea::user_is_busy() {
    const auto state = shell_.user_state();
    return state && *state != QUNS_ACCEPTS_NOTIFICATIONS;
}

std::optional<std::size_t> Win32NotificationArea::choose_from_menu(
    const std::vector<MenuChoice>& items, ScreenPoint at) {
    const HWND target = window();
    if (target == nullptr) {
        return std::nullopt;
    }
    return track_popup_menu(target, items, {at.x, at.y});
}

void Win32NotificationArea::hide_window() {
    if (const HWND target = window(); target != nullptr) {
        ShowWindow(target, SW_HIDE);
    }
}

// SW_RESTORE shows a window hidden while minimised, and restores it.
void Win32NotificationArea::bring_window_back() {
    if (const HWND target = window(); target != nullptr) {
        ShowWindow(target, IsIconic(target) ? SW_RESTORE : SW_SHOW);
        SetForegroundWindow(GetLastActivePopup(target));
    }
}

void Win32NotificationArea::dpi_changed() {
    if (image_size_ == 0 || notification_icon_size() == image_size_ || !redraw(image_mark_)) {
        return;
    }
    if (added_to_ != nullptr) {
        NOTIFYICONDATAW icon = data(NIF_ICON);
        shell_.notify_icon(NIM_MODIFY, icon);
    }
}

std::optional<TrayEvent> Win32NotificationArea::message(UINT message, WPARAM wparam,
                                                        LPARAM lparam) {
    if (message == taskbar_created_message()) {
        image_size_ = 0;  // the new taskbar may have another DPI
        return TrayEvent{TrayEventKind::taskbar_created};
    }
    switch (message) {
        case notification_area_message: {
            // Version 4 puts the event in LOWORD(lParam) and the point in wParam;
            // it follows a click's WM_LBUTTONUP with NIN_SELECT, and a right
            // click's WM_RBUTTONUP with WM_CONTEXTMENU.
            const UINT event = version_4_ ? LOWORD(lparam) : static_cast<UINT>(lparam);
            const ScreenPoint at =
                version_4_ ? point_of(static_cast<DWORD>(wparam)) : point_of(GetMessagePos());
            if (event == NIN_SELECT || event == NIN_KEYSELECT ||
                (event == WM_LBUTTONUP && !version_4_)) {
                return TrayEvent{TrayEventKind::open};
            }
            if (event == (version_4_ ? WM_CONTEXTMENU : WM_RBUTTONUP)) {
                return TrayEvent{TrayEventKind::menu, at};
            }
            if (event == NIN_BALLOONUSERCLICK) {
                return TrayEvent{TrayEventKind::notice_clicked};
            }
            return std::nullopt;
        }
        case WM_SIZE:
            if (wparam == SIZE_MINIMIZED) {
                return TrayEvent{TrayEventKind::minimised};
            }
            return IsWindowVisible(window()) ? std::optional(TrayEvent{TrayEventKind::restored})
                                             : std::nullopt;
        case WM_DPICHANGED:
        case WM_DISPLAYCHANGE:
        case WM_SETTINGCHANGE:
            dpi_changed();
            return std::nullopt;
        default:
            return std::nullopt;
    }
}

}  // namespace zvkob::win32
