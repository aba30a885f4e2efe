#include "core/care/node_warnings.hpp"

#include <algorithm>
#include <array>

#include "core/shown_text.hpp"

namespace zvkob {
namespace {

using namespace std::string_view_literals;

// A notice's text has room for about 250 characters.
constexpr std::size_t warning_characters = 160;
// A node warns of few things; a node that keeps inventing new ones is told of this many.
constexpr std::size_t warnings_told = 16;

constexpr std::array outdated_signs = {
    "Unknown new rules activated"sv,
    "unknown new rules activated"sv,
    "This version is obsolete"sv,
};

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r' ||
                             text.back() == '\n')) {
        text.remove_suffix(1);
    }
    if (text.starts_with("Warning: ")) {
        text.remove_prefix(9);
    }
    return text;
}

// "Warning: unknown new rules activated (versionbit 28)" from the log and
// "Unknown new rules activated (versionbit 28)" from RPC are one warning.
std::string shape_of(std::string_view warning) {
    std::string shape;
    for (const char c : trimmed(warning)) {
        if (c < '0' || c > '9') {
            shape += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        }
    }
    return shape;
}

}  // namespace

bool tells_outdated_software(std::string_view warning) {
    return std::ranges::any_of(outdated_signs, [warning](std::string_view sign) {
        return warning.find(sign) != std::string_view::npos;
    });
}

std::string warning_notice_text(std::string_view warning) {
    std::string text = "The node warns: " + shown_text(trimmed(warning), warning_characters);
    if (tells_outdated_software(warning)) {
        if (std::string_view(".!?").find(text.back()) == std::string_view::npos) {
            text += '.';
        }
        text += " Newer versions of the node may be needed.";
    }
    return text;
}

std::optional<std::string> NodeWarnings::heard(std::string_view warning) {
    std::string shape = shape_of(warning);
    if (shape.empty() || told_.size() >= warnings_told ||
        std::ranges::find(told_, shape) != told_.end()) {
        return std::nullopt;
    }
    told_.push_back(std::move(shape));
    return warning_notice_text(warning);
}

}  // namespace zvkob
