#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace zvkob {

// A text read from a file, made fit to show in a message: every byte that is
// not part of valid UTF-8, and every control character but the tab, becomes
// U+FFFD, so that no stray byte can cut or garble the message. A text of more
// than `max_characters` characters is cut, its last shown character "…".
std::string shown_text(std::string_view text, std::size_t max_characters);

}  // namespace zvkob
