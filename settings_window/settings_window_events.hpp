#pragma once
#include "settings_window/settings_window.hpp"

namespace zvkob {

// Connects every click, tick rule and timer of the settings window to its handler.
void wire_settings_window_events(SettingsWindow& window);

}  // namespace zvkob
