#include "platform/win32/screen_placement.hpp"

#include <algorithm>

namespace zvkob::win32 {

RECT keep_on_a_screen(const RECT& window) {
    if (MonitorFromRect(&window, MONITOR_DEFAULTTONULL) != nullptr) {
        return window;
    }
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (!GetMonitorInfoW(MonitorFromRect(&window, MONITOR_DEFAULTTONEAREST), &monitor)) {
        return window;
    }
    const RECT& area = monitor.rcWork;
    const LONG width = window.right - window.left;
    const LONG height = window.bottom - window.top;
    const LONG left = std::max(area.left, std::min(window.left, area.right - width));
    const LONG top = std::max(area.top, std::min(window.top, area.bottom - height));
    return RECT{left, top, left + width, top + height};
}

}  // namespace zvkob::win32
