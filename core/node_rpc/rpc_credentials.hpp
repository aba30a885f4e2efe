#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace zvkob {

// The value of the Authorization header ("Basic …") for the text of the
// node's cookie file, or nothing when the text is not a cookie as the node
// writes it: "__cookie__:" and 64 hex digits, surrounding white space aside.
// The header is built in one buffer, so no copy of the cookie is left behind
// in memory freed on the way; the caller holds it as a SecretText.
std::optional<std::string> basic_credentials_from_cookie(std::string_view cookie_text);

// Overwrites the text's bytes with zeros, in a way the compiler cannot drop as
// a dead store, then empties it. Its buffer is freed clean.
void wipe(std::string& secret);

// A credential (the cookie's text, a header made from it) held for one use
// and wiped when it goes. Never copied; moved from a string, which is wiped.
class SecretText {
public:
    explicit SecretText(std::string&& text) : text_(std::move(text)) { wipe(text); }
    ~SecretText() { wipe(text_); }
    SecretText(const SecretText&) = delete;
    SecretText& operator=(const SecretText&) = delete;

    const std::string& text() const { return text_; }

private:
    std::string text_;
};

}  // namespace zvkob
