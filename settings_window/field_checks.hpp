#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace zvkob {

// The command interpreter's longest command line, in characters.
inline constexpr std::size_t longest_command_line = 8191;

// A field that goes into the run commands, under the name the user knows it by.
struct LineField {
    std::string_view name;
    std::string_view text;
};

// Why the field's text must not go into a batch file line, or nothing when it
// may: a character that no Windows path can hold (" < > | ? * or a control
// character such as a line break), or a percent sign or caret, which the
// command interpreter changes in a "call" line even inside quotes.
std::optional<std::string> batch_line_refusal(const LineField& field);

// The number of characters of a UTF-8 text.
std::size_t character_count(std::string_view utf8);

// Why a field is longer than any batch file line can be, or nothing.
std::optional<std::string> length_refusal(const LineField& field);

// Why a QT or DAEMON Filename is not a name the watcher can find the running
// program by, or nothing when it is. Windows lists a process by its file name
// alone, so the name must end in .exe and hold no folder; an empty name (a
// program not used) is accepted. The message names the field for the
// program's folder and shows `example`, a good name.
std::optional<std::string> program_name_refusal(const LineField& field,
                                                std::string_view folder_field,
                                                std::string_view example);

}  // namespace zvkob
