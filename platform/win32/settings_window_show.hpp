#pragma once
#include <windows.h>

#include "core/event_gate.hpp"
#include "main_window/main_window.hpp"
#include "settings_window/settings_window.hpp"

namespace zvkob::win32 {

// Builds the settings window afresh from the store, shows it modally over
// `owner` (the main window) and returns when it has closed.
void show_settings_window(HWND owner, EventGate& gate, const SettingsWindowServices& services,
                          MainWindow& main);

}  // namespace zvkob::win32
