#pragma once
#include <windows.h>

#include <vector>

#include "core/window_placement.hpp"

namespace zvkob::win32 {

// Every monitor of the desktop with its work area and its own DPI.
std::vector<Monitor> desktop_monitors();

// The DPI of the desktop as a whole (that of the main monitor at sign-in).
unsigned system_dpi();
// A monitor's own DPI, or the system's where Windows cannot tell it.
unsigned monitor_dpi(HMONITOR monitor);

}  // namespace zvkob::win32
