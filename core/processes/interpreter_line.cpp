#include "core/processes/interpreter_line.hpp"

#include <cctype>

namespace zvkob {

bool is_full_path(std::string_view text) {
    const bool drive = text.size() >= 3 && std::isalpha(static_cast<unsigned char>(text[0])) &&
                       text[1] == ':' && text[2] == '\\';
    return drive || text.starts_with("\\\\");
}

std::string interpreter_command_line(std::string_view interpreter, std::string_view batch_path) {
    const bool spaced = interpreter.find(' ') != std::string_view::npos;
    std::string line = spaced ? "\"" + std::string(interpreter) + "\"" : std::string(interpreter);
    return line + " /d /s /c \"\"" + std::string(batch_path) + "\"\"";
}

}  // namespace zvkob
