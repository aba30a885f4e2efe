#pragma once
#include <string_view>

#include "settings_window/credit_contact.hpp"

namespace zvkob {

class SettingsWindow;

inline constexpr std::string_view credit_line_caption = "Created By The ZV-KOB Project";

// A click on the credit line shows the contact that this build was given
// (credit_contact.hpp) instead, until the window closes.
void credit_line_clicked(SettingsWindow& window);

}  // namespace zvkob
