#pragma once
#include <array>
#include <optional>
#include <string>

#include "settings_window/field_checks.hpp"

namespace zvkob {

class SettingsWindow;

// The fields the user types, each under the name the window shows it by, in
// the window's Tab order.
std::array<LineField, 7> typed_fields(const SettingsWindow& window);

// Why the typed fields cannot be saved: a QT or DAEMON Filename the watcher
// could never see, or a field longer than any batch file line. Nothing when
// they can.
std::optional<std::string> typed_fields_refusal(const SettingsWindow& window);

}  // namespace zvkob
