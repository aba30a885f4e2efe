#include "core/settings/setting_text.hpp"

#include <cctype>
#include <charconv>
#include <cmath>
#include <system_error>

namespace zvkob {
namespace {

std::string_view trimmed(std::string_view text) {
    constexpr std::string_view blanks = " \t";
    const auto first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(blanks);
    return text.substr(first, last - first + 1);
}

// A decimal number as people and earlier versions write it: optional blanks
// around it, an optional sign, digits with an optional point and exponent.
template <typename Number>
std::optional<Number> parse_decimal(std::string_view text) {
    text = trimmed(text);
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
    }
    if (text.empty() || !(std::isdigit(static_cast<unsigned char>(text.front())) ||
                          text.front() == '.' || text.front() == '-')) {
        return std::nullopt;  // also refuses "inf" and "nan"
    }
    Number value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

}  // namespace

std::string tick_text(int tick) {
    return std::to_string(tick);
}

std::string twips_text(float twips) {
    if (twips == 0.0F) {
        return "0";  // never "-0"
    }
    char buffer[64];
    const auto [end, error] =
        std::to_chars(buffer, buffer + sizeof buffer, twips, std::chars_format::fixed);
    if (error != std::errc{}) {
        return "0";
    }
    return std::string(buffer, end);
}

std::optional<int> parse_tick(std::string_view text) {
    const auto number = parse_decimal<double>(text);
    if (!number) {
        return std::nullopt;
    }
    const double rounded = std::nearbyint(*number);  // to even, as a 16-bit conversion rounds
    if (rounded == 0.0 || rounded == 1.0) {
        return static_cast<int>(rounded);
    }
    return std::nullopt;
}

std::optional<float> parse_position(std::string_view text) {
    return parse_decimal<float>(text);
}

std::optional<float> parse_size(std::string_view text) {
    const auto size = parse_decimal<float>(text);
    if (size && *size > 0.0F) {
        return size;
    }
    return std::nullopt;
}

}  // namespace zvkob
