#pragma once
#include <string>
#include <string_view>

namespace zvkob {

// Adds `line` to a text of lines (a tooltip, a message), leaving out an empty one.
inline void add_line(std::string& text, const std::string& line) {
    if (!line.empty()) {
        text += (text.empty() ? "" : "\n") + line;
    }
}

// A text as one line of the history: its line breaks become " | ".
inline std::string one_line(std::string_view text) {
    std::string line;
    for (const char c : text) {
        if (c != '\r') {
            line += c == '\n' ? std::string(" | ") : std::string(1, c);
        }
    }
    return line;
}

}  // namespace zvkob
