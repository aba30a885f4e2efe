#pragma once
#include <string>
#include <string_view>

namespace zvkob {

// Windows paths, handled as text so that any machine can work them out. Both
// '\' and '/' separate.

// Whether a path names its drive or share and its root: C:\..., \\server\share\...
bool is_absolute_path(std::string_view path);

// `path` taken from `folder`: an absolute path stays as it is, one that
// begins at the root ("\logs") goes on the folder's drive or share, and any
// other is joined below the folder with one backslash, however many
// separators the folder ends with.
std::string path_from_folder(std::string_view folder, std::string_view path);

// A record of ZV-KOB's kept beside its history: ".../ZV-KOB/<instance>.log"
// with `extension` ".node-stops" gives ".../ZV-KOB/<instance>.node-stops".
std::string beside_history(std::string_view history_path, std::string_view extension);

}  // namespace zvkob
