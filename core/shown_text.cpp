#include "core/shown_text.hpp"

namespace zvkob {
namespace {

constexpr std::string_view replacement = "\xEF\xBF\xBD";  // U+FFFD
constexpr std::string_view ellipsis = "\xE2\x80\xA6";     // U+2026

bool is_continuation(unsigned char byte) {
    return (byte & 0xC0U) == 0x80U;
}

// The length of the valid UTF-8 character at the start of `text`, or 0.
std::size_t character_length(std::string_view text) {
    const auto lead = static_cast<unsigned char>(text[0]);
    if (lead < 0x80U) {
        return 1;
    }
    std::size_t length = 0;
    unsigned code_point = 0;
    if (lead >= 0xC2U && lead <= 0xDFU) {
        length = 2;
        code_point = lead & 0x1FU;
    } else if (lead >= 0xE0U && lead <= 0xEFU) {
        length = 3;
        code_point = lead & 0x0FU;
    } else if (lead >= 0xF0U && lead <= 0xF4U) {
        length = 4;
        code_point = lead & 0x07U;
    } else {
        return 0;
    }
    if (text.size() < length) {
        return 0;
    }
    for (std::size_t i = 1; i < length; ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (!is_continuation(byte)) {
            return 0;
        }
        code_point = (code_point << 6U) | (byte & 0x3FU);
    }
    constexpr unsigned smallest[] = {0, 0, 0x80, 0x800, 0x10000};
    const bool surrogate = code_point >= 0xD800U && code_point <= 0xDFFFU;
    return code_point < smallest[length] || surrogate || code_point > 0x10FFFFU ? 0 : length;
}

bool is_control(std::string_view character) {
    const auto byte = static_cast<unsigned char>(character[0]);
    return character.size() == 1 && ((byte < 0x20U && byte != '\t') || byte == 0x7FU);
}

}  // namespace

std::string shown_text(std::string_view text, std::size_t max_characters) {
    std::string shown;
    std::size_t characters = 0;
    std::size_t size_before_last = 0;  // the size once max_characters - 1 are shown
    while (!text.empty() && max_characters > 0) {
        if (characters == max_characters) {
            shown.resize(size_before_last);
            return shown += ellipsis;
        }
        if (characters + 1 == max_characters) {
            size_before_last = shown.size();
        }
        const std::size_t length = character_length(text);
        const std::string_view character = text.substr(0, length == 0 ? 1 : length);
        shown += length == 0 || is_control(character) ? replacement : character;
        text.remove_prefix(character.size());
        ++characters;
    }
    return shown;
}

}  // namespace zvkob
