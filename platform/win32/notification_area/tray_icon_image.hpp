#pragma once
#include <windows.h>

#include "platform/notification_area.hpp"
#include "platform/win32/owners.hpp"

namespace zvkob::win32 {

// The width of a small icon on the screen of the taskbar, in pixels, for its DPI now.
int notification_icon_size();

// The program's own icon (resource 1; the stock application icon when the
// exe has none) with the mark in its corner, `size` pixels wide. Empty only
// when Windows cannot make an icon at all.
IconHandle marked_icon(TrayMark mark, int size);

}  // namespace zvkob::win32
