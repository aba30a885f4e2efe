#pragma once
#include <string>
#include <string_view>

namespace zvkob::win32 {

// A folder's full name as Windows resolves it: relative steps taken, an 8.3
// short name made long, a mapped network drive written as its network path
// (\\server\share\...), in lower case as Windows folds it. Each step that
// Windows cannot take leaves the name as it was; a folder that cannot be
// resolved at all is given back as written. It may wait on the network: never
// on the window's thread.
std::string resolved_folder_name(std::string_view folder);

}  // namespace zvkob::win32
