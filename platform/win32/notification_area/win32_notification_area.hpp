#pragma once
#include <windows.h>

#include <optional>
#include <string>
#include <utility>

#include "platform/notification_area.hpp"
#include "platform/win32/owners.hpp"
#include "platform/win32/notification_area/shell_notify_functions.hpp"

namespace zvkob::win32 {

// The icon's messages come to its window as this message.
inline constexpr UINT notification_area_message = WM_APP + 1;

// The one icon of this copy, known to Windows by its window and this number
// (not by a GUID, which would tie it to the exe's path).
inline constexpr UINT notification_icon_id = 1;

// The registered message Explorer sends to every top-level window when its
// taskbar is created, at sign-in and after it restarted.
UINT taskbar_created_message();

class Win32NotificationArea : public NotificationArea {
public:
    // `window` gets the icon's messages and is the window hidden behind it;
    // null for the main window, found when the icon is added.
    explicit Win32NotificationArea(HWND window = nullptr, ShellNotifyFunctions shell = {})
        : given_window_(window), shell_(std::move(shell)) {}
    // An icon that may still be there is taken away, however the program ends.
    ~Win32NotificationArea() override { remove(); }
    Win32NotificationArea(const Win32NotificationArea&) = delete;
    Win32NotificationArea& operator=(const Win32NotificationArea&) = delete;

    bool show(const TrayIcon& icon) override;
    void remove() override;
    bool notify(NoticeKind kind, std::string_view title, std::string_view text) override;
    bool user_is_busy() override;
    std::string why() override { return why_; }
    std::optional<std::size_t> choose_from_menu(const std::vector<MenuChoice>& items,
                                                ScreenPoint at) override;
    void hide_window() override;
    void bring_window_back() override;

    // Any message of the window may come here: the icon's own messages,
    // TaskbarCreated, minimising and restoring come back as events. A change
    // of DPI or of the screens redraws the icon. The window's own handling of
    // every message goes on as before.
    std::optional<TrayEvent> message(UINT message, WPARAM wparam, LPARAM lparam);
    // Draws the icon again for the taskbar's DPI now.
    void dpi_changed();

private:
    HWND window() const;
    NOTIFYICONDATAW data(UINT flags) const;
    bool add(NOTIFYICONDATAW& data);
    bool redraw(TrayMark mark);

    HWND given_window_;
    ShellNotifyFunctions shell_;
    // The window the icon was added for; null once Windows has taken it away.
    // A refused change leaves it: the icon may well still be there.
    HWND added_to_ = nullptr;
    bool version_4_ = false;  // its messages come as NOTIFYICON_VERSION_4 describes
    TrayIcon shown_;
    IconHandle image_;
    TrayMark image_mark_ = TrayMark::stopped;
    int image_size_ = 0;
    std::string why_;
};

}  // namespace zvkob::win32
