#include "platform/win32/windows/screen_placement.hpp"

#include <shellscalingapi.h>

namespace zvkob::win32 {
namespace {

using DpiForMonitor = HRESULT(WINAPI*)(HMONITOR, MONITOR_DPI_TYPE, UINT*, UINT*);

// A monitor's own DPI comes from shcore, which nothing else ZV-KOB does
// needs: it is loaded when first asked, not linked. Without it the system
// DPI stands for every monitor.
DpiForMonitor dpi_for_monitor() {
    static const DpiForMonitor function = [] {
        const HMODULE shcore = LoadLibraryExW(L"shcore.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
        // Through a function type without parameters: GetProcAddress's own type is not the real
        // one.
        using Untyped = void (*)();
        return shcore == nullptr ? nullptr
                                 : reinterpret_cast<DpiForMonitor>(reinterpret_cast<Untyped>(
                                       GetProcAddress(shcore, "GetDpiForMonitor")));
    }();
    return function;
}

PixelRect pixel_rect(const RECT& rect) {
    return {rect.left, rect.top, rect.right, rect.bottom};
}

BOOL CALLBACK add_monitor(HMONITOR handle, HDC, LPRECT, LPARAM found) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (GetMonitorInfoW(handle, &info)) {
        reinterpret_cast<std::vector<Monitor>*>(found)->push_back(
            {pixel_rect(info.rcMonitor), pixel_rect(info.rcWork), monitor_dpi(handle)});
    }
    return TRUE;
}

}  // namespace

unsigned monitor_dpi(HMONITOR monitor) {
    UINT dpi_x = 0;
    UINT dpi_y = 0;
    const DpiForMonitor for_monitor = dpi_for_monitor();
    if (for_monitor == nullptr || FAILED(for_monitor(monitor, MDT_EFFECTIVE_DPI, &dpi_x, &dpi_y)) ||
        dpi_x == 0) {
        return system_dpi();
    }
    return dpi_x;
}

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
