#pragma once
#include <string_view>

// The fixed pieces of the run commands and the batch file paths.
namespace zvkob::fragments {
inline constexpr std::string_view call = "call ";
inline constexpr std::string_view quote = "\"";
inline constexpr std::string_view backslash = "\\";
inline constexpr std::string_view conf_option = " -conf=";
inline constexpr std::string_view space = " ";
inline constexpr std::string_view datadir_option = "-datadir=";
inline constexpr std::string_view qt_batch_file = "ZVKOB-QT.BAT";
inline constexpr std::string_view daemon_batch_file = "ZVKOB-D.BAT";
}  // namespace zvkob::fragments
