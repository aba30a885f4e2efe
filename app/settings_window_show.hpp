#pragma once
#include "core/event_gate.hpp"
#include "core/settings/hand_over.hpp"
#include "settings_window/settings_window.hpp"

namespace zvkob::win32 {

// Builds the settings window afresh from the store, shows it modally over the
// main window and returns when it has closed. `services` are the program's.
void show_settings_window(EventGate& gate, const SettingsWindowServices& services,
                          HandOverReceiver& main);

}  // namespace zvkob::win32
