#pragma once
#include <windows.h>

#include "core/event_gate.hpp"

namespace zvkob::win32 {

// Builds the settings window, shows it modally over `owner` and returns when it has closed.
void show_settings_window(HWND owner, EventGate& gate);

}  // namespace zvkob::win32
