#include "core/processes/batch_node_line.hpp"

#include <algorithm>
#include <array>
#include <cctype>

namespace zvkob {
namespace {

using std::string_view_literals::operator""sv;

// Commands that only prepare the console or the environment.
constexpr std::array preparing_commands = {
    "echo"sv, "echo."sv,    "rem"sv,      "cd"sv,    "chdir"sv, "pushd"sv, "popd"sv,
    "set"sv,  "setlocal"sv, "endlocal"sv, "title"sv, "chcp"sv,  "cls"sv,
};

std::string lower(std::string_view text) {
    std::string lowered(text);
    std::ranges::transform(lowered, lowered.begin(),
                           [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lowered;
}

std::string_view trimmed(std::string_view line) {
    const auto first = line.find_first_not_of(" \t@");
    if (first == line.npos) {
        return {};
    }
    const auto last = line.find_last_not_of(" \t\r");
    return line.substr(first, last - first + 1);
}

bool prepares(std::string_view line) {
    if (line.empty() || line.starts_with(':')) {
        return true;  // blank, a label or a "::" comment
    }
    const std::string first_word = lower(line.substr(0, line.find_first_of(" \t/")));
    return std::ranges::find(preparing_commands, first_word) != preparing_commands.end();
}

// The program file's name at `at` stands alone: after a separator, before a
// quote, a space or the end.
bool names_program(const std::string& line, const std::string& image) {
    for (auto at = line.find(image); at != line.npos; at = line.find(image, at + 1)) {
        const auto end = at + image.size();
        const bool starts =
            at == 0 || std::string_view("\\/\" :").find(line[at - 1]) != std::string_view::npos;
        const bool ends =
            end == line.size() || line[end] == '"' || line[end] == ' ' || line[end] == '\t';
        if (starts && ends) {
            return true;
        }
    }
    return false;
}

// Lines that change nothing for the node: blank, a comment, a label, echo off.
bool changes_nothing(std::string_view line) {
    const std::string lowered = lower(line);
    return lowered.empty() || lowered.starts_with(':') || lowered == "echo off" ||
           lowered == "rem" || lowered.starts_with("rem ");
}

}  // namespace

std::string batch_node_line(std::string_view batch_text, std::string_view image) {
    const std::string wanted = lower(image);
    std::string_view first_command;
    while (!batch_text.empty()) {
        const auto end = batch_text.find('\n');
        const std::string_view line = trimmed(batch_text.substr(0, end));
        batch_text = end == batch_text.npos ? std::string_view() : batch_text.substr(end + 1);
        if (prepares(line)) {
            continue;
        }
        if (!wanted.empty() && names_program(lower(line), wanted)) {
            return std::string(line);
        }
        first_command = first_command.empty() ? line : first_command;
    }
    return std::string(first_command);
}

LoneNodeLine lone_node_line(std::string_view batch_text, std::string_view image) {
    const std::string node_line = batch_node_line(batch_text, image);
    while (!node_line.empty() && !batch_text.empty()) {
        const auto end = batch_text.find('\n');
        const std::string_view line = trimmed(batch_text.substr(0, end));
        batch_text = end == batch_text.npos ? std::string_view() : batch_text.substr(end + 1);
        if (!changes_nothing(line) && line != node_line) {
            return {{}, {}, std::string(line)};
        }
    }
    std::string_view command = node_line;
    if (lower(command.substr(0, 5)) == "call ") {
        command = trimmed(command.substr(5));
    }
    return {node_line, std::string(command), {}};
}

}  // namespace zvkob
