#pragma once
#include <string_view>

namespace zvkob::fragments {

// The fixed pieces of the settings window's run commands and batch file
// paths, named after the hidden fields that hold them in the window's design.
inline constexpr std::string_view CALL_COMMAND_TEXTBOX = "call ";
inline constexpr std::string_view SM_TB = "\"";
inline constexpr std::string_view BACKSLASH_TEXTBOX = "\\";
inline constexpr std::string_view DASH_CONF_TEXTBOX = " -conf=";
inline constexpr std::string_view SPACEBAR_TEXTBOX = " ";
inline constexpr std::string_view DATADIR_EQUALS_TEXTBOX = "-datadir=";
inline constexpr std::string_view ZVKOB_QT_FILENAME_TEXTBOX = "ZVKOB-QT.BAT";
inline constexpr std::string_view ZVKOB_D_FILENAME_TEXTBOX = "ZVKOB-D.BAT";

}  // namespace zvkob::fragments
