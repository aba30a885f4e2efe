#pragma once
#include "core/outcome.hpp"

namespace zvkob {

class SettingsWindow;

// Builds the window from the store: position and size, the fields, the
// wallet options and Always On Top (each restored tick running its rule),
// then arms the two composer timers and shows both run commands at once.
void open_settings_window(SettingsWindow& window);

// Every close: saves the window's position. The composer timers stop.
Outcome unload_settings_window(SettingsWindow& window);

}  // namespace zvkob
