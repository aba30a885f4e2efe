#pragma once
#include "core/control_table.hpp"

namespace zvkob {

// The main window's controls, in the window's own order.
const WindowSpec& main_window_layout();

}  // namespace zvkob
