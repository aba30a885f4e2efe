#include "core/node_rpc/rpc_credentials.hpp"

#include <algorithm>
#include <cstdint>
#include <utility>

namespace zvkob {
namespace {

constexpr std::string_view cookie_user = "__cookie__:";
constexpr std::size_t cookie_secret_digits = 64;

std::string_view trimmed(std::string_view text) {
    constexpr std::string_view blank = " \t\r\n";
    const auto first = text.find_first_not_of(blank);
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(blank) - first + 1);
}

bool is_hex_digit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// Appends the bytes in base64 to `encoded`, which has room for them already.
void append_base64(std::string_view bytes, std::string& encoded) {
    static constexpr char digits[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    for (std::size_t at = 0; at < bytes.size(); at += 3) {
        const std::size_t count = std::min<std::size_t>(3, bytes.size() - at);
        std::uint32_t group = 0;
        for (std::size_t i = 0; i < 3; ++i) {
            const auto byte = i < count ? static_cast<unsigned char>(bytes[at + i]) : 0U;
            group = (group << 8) | byte;
        }
        for (std::size_t i = 0; i < 4; ++i) {
            encoded += i <= count ? digits[(group >> (18 - 6 * i)) & 0x3F] : '=';
        }
    }
}

}  // namespace

std::optional<std::string> basic_credentials_from_cookie(std::string_view cookie_text) {
    const std::string_view cookie = trimmed(cookie_text);
    if (cookie.size() != cookie_user.size() + cookie_secret_digits ||
        !cookie.starts_with(cookie_user) ||
        !std::all_of(cookie.begin() + cookie_user.size(), cookie.end(), is_hex_digit)) {
        return std::nullopt;
    }
    constexpr std::string_view scheme = "Basic ";
    std::string header;
    header.reserve(scheme.size() + (cookie.size() + 2) / 3 * 4);
    header += scheme;
    append_base64(cookie, header);
    return std::optional<std::string>(std::move(header));  // its buffer, not a copy
}

// The whole buffer, so that bytes a shorter text left beyond its end go too.
void wipe(std::string& secret) {
    secret.resize(secret.capacity());
    volatile char* bytes = secret.data();
    for (std::size_t at = 0; at < secret.size(); ++at) {
        bytes[at] = 0;
    }
    secret.clear();
}

}  // namespace zvkob
