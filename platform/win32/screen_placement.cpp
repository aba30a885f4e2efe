#include "platform/win32/screen_placement.hpp"

#include <shellscalingapi.h>

namespace zvkob::win32 {
namespace {

PixelRect pixel_rect(const RECT& rect) {
    return {rect.left, rect.top, rect.right, rect.bottom};
}

BOOL CALLBACK add_monitor(HMONITOR handle, HDC, LPRECT, LPARAM found) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (GetMonitorInfoW(handle, &info)) {
        UINT dpi_x = 0;
        UINT dpi_y = 0;
        if (FAILED(GetDpiForMonitor(handle, MDT_EFFECTIVE_DPI, &dpi_x, &dpi_y)) || dpi_x == 0) {
            dpi_x = system_dpi();
        }
        reinterpret_cast<std::vector<Monitor>*>(found)->push_back(
            {pixel_rect(info.rcMonitor), pixel_rect(info.rcWork), dpi_x});
    }
    return TRUE;
}

}  // namespace

std::vector<Monitor> desktop_monitors() {
    std::vector<Monitor> monitors;
    EnumDisplayMonitors(nullptr, nullptr, add_monitor, reinterpret_cast<LPARAM>(&monitors));
    return monitors;
}

unsigned system_dpi() {
    const UINT dpi = GetDpiForSystem();
    return dpi == 0 ? 96 : dpi;
}

}  // namespace zvkob::win32
