#pragma once
#include <string>

namespace zvkob {

// Adds `line` to a text of lines (a tooltip, a message), leaving out an empty one.
inline void add_line(std::string& text, const std::string& line) {
    if (!line.empty()) {
        text += (text.empty() ? "" : "\n") + line;
    }
}

}  // namespace zvkob
