#pragma once
#include <string>
#include <string_view>

namespace zvkob {

// What became of text put on the clipboard.
struct ClipboardPut {
    enum class Result { copied, busy, failed } result = Result::copied;
    std::string failure;  // Windows' words, when it failed
};

// The clipboard: text put there replaces what it held.
class Clipboard {
public:
    virtual ~Clipboard() = default;
    // Puts UTF-8 text there as Unicode text. Another program may hold the
    // clipboard open for a moment: it is asked again briefly, then the
    // answer is "busy".
    virtual ClipboardPut put_text(std::string_view text) = 0;
};

}  // namespace zvkob
