#pragma once
#include <string_view>

namespace zvkob {

class SettingsWindow;

inline constexpr std::string_view credit_line_caption = "Created By The ZV-KOB Project";
inline constexpr std::string_view credit_line_contact = "zv-kob@tarlowen.org";

// A click on the credit line shows the project's contact address instead,
// until the window closes.
void credit_line_clicked(SettingsWindow& window);

}  // namespace zvkob
