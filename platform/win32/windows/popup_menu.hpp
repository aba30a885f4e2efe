#pragma once
#include <windows.h>

#include <cstddef>
#include <optional>
#include <vector>

#include "platform/notification_area.hpp"

namespace zvkob::win32 {

// Shows a shortcut menu of `items` at a point of the screen for `window`, as
// the notification area needs it, and waits until the user has chosen: the
// index of the chosen item, or nothing when the menu was dismissed.
std::optional<std::size_t> track_popup_menu(HWND window, const std::vector<MenuChoice>& items,
                                            POINT at);

}  // namespace zvkob::win32
