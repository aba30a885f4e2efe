#pragma once
#include <windows.h>

#include "core/event_gate.hpp"
#include "settings_window/settings_window.hpp"
#include "core/hand_over.hpp"
#include "platform/win32/win32_window_manager.hpp"

namespace zvkob::win32 {

// Builds the settings window afresh from the store, shows it modally over
// `owner` (the main window) and returns when it has closed. Its messages are
// owned by it; the window manager knows its handle while it is shown.
// `services` are the program's; the window's messages are its own.
void show_settings_window(HWND owner, EventGate& gate, const SettingsWindowServices& services,
                          HandOverReceiver& main, Win32WindowManager& windows);

}  // namespace zvkob::win32
