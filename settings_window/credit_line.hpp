#pragma once
#include "settings_window/credit_contact.hpp"

namespace zvkob {

class SettingsWindow;

// A click on the credit line shows the contact that this build was given
// (credit_contact.hpp) instead, until the window closes.
void credit_line_clicked(SettingsWindow& window);

}  // namespace zvkob
