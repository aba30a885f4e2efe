#pragma once
#include <string>
#include <string_view>

namespace zvkob {

// The instance name: the program file's base name without its extension
// ("C:\Nodes\Second.exe" gives "Second"). It names the settings section and
// appears in the main window's caption.
std::string instance_name_from_path(std::string_view program_path);

}  // namespace zvkob
