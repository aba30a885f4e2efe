#pragma once
#include "core/control_table.hpp"

namespace zvkob {

// The settings window's controls: the visible ones top to bottom, the four
// rules, then the hidden fields whose texts change while the window is open.
const WindowSpec& settings_window_layout();

}  // namespace zvkob
