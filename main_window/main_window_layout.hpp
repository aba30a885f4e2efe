#pragma once
#include <string>
#include <string_view>

#include "core/control_table.hpp"

namespace zvkob {

// The main window's controls, in the window's own order.
const WindowSpec& main_window_layout();

// The main window's caption once loaded: "TARLOWEN - ZV-KOB - " and the instance name.
std::string main_window_caption(std::string_view instance_name);

}  // namespace zvkob
