#include "settings_window/field_checks.hpp"

#include <algorithm>
#include <cctype>

namespace zvkob {
namespace {

constexpr std::string_view never_in_a_path = "\"<>|?*";

std::string control_character(unsigned char code) {
    switch (code) {
        case '\n':
            return "a line break";
        case '\r':
            return "a carriage return";
        case '\t':
            return "a tab";
        default:
            return "a control character (code " + std::to_string(code) + ")";
    }
}

std::string refusal(const LineField& field, const std::string& what, std::string_view why) {
    return "The " + std::string(field.name) + " contains " + what + ", " + std::string(why);
}

}  // namespace

std::optional<std::string> batch_line_refusal(const LineField& field) {
    for (const char c : field.text) {
        const auto code = static_cast<unsigned char>(c);
        if (code < 0x20) {
            return refusal(field, control_character(code), "which no Windows path can hold.");
        }
        if (never_in_a_path.find(c) != std::string_view::npos) {
            return refusal(field, std::string("the character ") + c,
                           "which no Windows path can hold.");
        }
        if (c == '%' || c == '^') {
            return refusal(field, c == '%' ? "a percent sign (%)" : "a caret (^)",
                           "which the command interpreter would change when it runs the batch "
                           "file, so the node would not get the path as typed. Please use a "
                           "path without it.");
        }
    }
    return std::nullopt;
}

std::optional<std::string> length_refusal(const LineField& field) {
    const std::size_t length = character_count(field.text);
    if (length <= longest_command_line) {
        return std::nullopt;
    }
    return "The " + std::string(field.name) + " is " + std::to_string(length) +
           " characters long; no batch file line can hold more than " +
           std::to_string(longest_command_line) + ".";
}

std::optional<std::string> program_name_refusal(const LineField& field,
                                                std::string_view folder_field,
                                                std::string_view example) {
    const std::string_view name = field.text;
    if (name.empty()) {
        return std::nullopt;
    }
    constexpr std::string_view extension = ".exe";
    const bool ends_in_exe =
        name.size() > extension.size() &&
        std::equal(extension.begin(), extension.end(), name.end() - extension.size(),
                   [](char a, char b) { return std::tolower(static_cast<unsigned char>(b)) == a; });
    const bool plain = std::none_of(name.begin(), name.end(), [](char c) {
        return static_cast<unsigned char>(c) < 0x20 ||
               std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos;
    });
    if (ends_in_exe && plain) {
        return std::nullopt;
    }
    return "The " + std::string(field.name) + " \"" + std::string(name) +
           "\" is not a name ZV-KOB can watch the program by. Enter the program's file name "
           "alone, ending in .exe, for example " +
           std::string(example) + ", and its folder into " + std::string(folder_field) + ".";
}

std::size_t character_count(std::string_view utf8) {
    std::size_t count = 0;
    for (const char c : utf8) {
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) {
            ++count;  // every byte but a continuation byte starts a character
        }
    }
    return count;
}

}  // namespace zvkob
