#pragma once

namespace zvkob {

class SettingsWindow;

// The settings window's Always On Top switches the main window's
// always-on-top timer and tickbox at once; nothing is saved here.
void always_on_top_clicked(SettingsWindow& window);

}  // namespace zvkob
