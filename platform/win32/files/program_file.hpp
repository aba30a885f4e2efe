#pragma once
#include <string>

namespace zvkob::win32 {

// The full path of the running program file.
std::string program_file_path();

}  // namespace zvkob::win32
