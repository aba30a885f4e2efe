#include "platform/win32/win32_file_system.hpp"

#include <windows.h>

#include "platform/win32/wide_text.hpp"

namespace zvkob::win32 {

bool Win32FileSystem::is_file(std::string_view path) {
    const DWORD attributes = GetFileAttributesW(widen(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

}  // namespace zvkob::win32
