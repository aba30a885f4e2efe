#pragma once
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace zvkob::win32 {

// The code page the command interpreter reads batch files with: the
// console's, which is the system's OEM code page, not its ANSI one.
UINT batch_file_code_page();

// The UTF-8 text in `code_page`, or nothing when a character has no exact
// form there (no best-fit look-alikes, no question marks).
std::optional<std::string> encode_exactly(std::string_view utf8, UINT code_page);

// The first character of the UTF-8 text that has no exact form in `code_page`.
std::optional<std::string> first_character_not_in(std::string_view utf8, UINT code_page);

}  // namespace zvkob::win32
