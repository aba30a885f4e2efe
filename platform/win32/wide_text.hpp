#pragma once
#include <windows.h>

#include <string>
#include <string_view>

namespace zvkob::win32 {

// The program keeps text as UTF-8; Windows takes UTF-16.
std::wstring widen(std::string_view utf8);
std::string narrow(std::wstring_view utf16);

// The system's own text for an error code, e.g. "Access is denied."
std::string system_error_text(DWORD error);

}  // namespace zvkob::win32
