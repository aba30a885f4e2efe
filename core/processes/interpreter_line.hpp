#pragma once
#include <string>
#include <string_view>

namespace zvkob {

// Whether a text is a full path: a drive and a backslash (C:\...) or a
// network path (\\server\...).
bool is_full_path(std::string_view text);

// The command line that runs a batch file, given by its full path, in the
// command interpreter `interpreter` (itself a full path):
//   C:\Windows\system32\cmd.exe /d /s /c ""D:\Nodes (BTC)\ZV-KOB\ZVKOB-QT.BAT""
// /d leaves AutoRun commands out. /s with the outer pair of quotes makes the
// interpreter strip exactly that pair, so the path keeps its own quotes
// whatever it holds (spaces, parentheses, &, commas...); unquoted, the path
// would be cut at such a character and something else would run.
std::string interpreter_command_line(std::string_view interpreter, std::string_view batch_path);

}  // namespace zvkob
