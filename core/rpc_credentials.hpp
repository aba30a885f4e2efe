#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace zvkob {

// The value of the Authorization header ("Basic …") for the text of the
// node's cookie file, or nothing when the text is not a cookie as the node
// writes it: "__cookie__:" and 64 hex digits, surrounding white space aside.
// The cookie passes through here and is kept nowhere: the caller sends the
// header and lets it go.
std::optional<std::string> basic_credentials_from_cookie(std::string_view cookie_text);

}  // namespace zvkob
