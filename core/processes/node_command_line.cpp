#include "core/processes/node_command_line.hpp"

#include <algorithm>
#include <cctype>

namespace zvkob {
namespace {

bool is_space(char c) {
    return c == ' ' || c == '\t';
}

std::string_view without_leading_spaces(std::string_view text) {
    while (!text.empty() && is_space(text.front())) {
        text.remove_prefix(1);
    }
    return text;
}

std::string lower(std::string_view text) {
    std::string result(text);
    std::ranges::transform(result, result.begin(),
                           [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return result;
}

// Backslashes and the quote after them at `at`: what they give, and the
// quoting state after them.
std::size_t take_quote(std::string_view text, std::size_t at, std::size_t backslashes,
                       std::string& argument, bool& quoted) {
    argument.append(backslashes / 2, '\\');
    if (backslashes % 2 == 1) {
        argument += '"';
        return at + 1;
    }
    if (quoted && at + 1 < text.size() && text[at + 1] == '"') {
        argument += '"';
        return at + 2;
    }
    quoted = !quoted;
    return at + 1;
}

// One argument from `at`, which is not a space; returns where it ended.
std::size_t take_argument(std::string_view text, std::size_t at, std::string& argument) {
    bool quoted = false;
    while (at < text.size() && (quoted || !is_space(text[at]))) {
        std::size_t backslashes = 0;
        for (; at < text.size() && text[at] == '\\'; ++at) {
            ++backslashes;
        }
        if (at < text.size() && text[at] == '"') {
            at = take_quote(text, at, backslashes, argument, quoted);
            continue;
        }
        argument.append(backslashes, '\\');
        if (at < text.size() && (quoted || !is_space(text[at]))) {
            argument += text[at++];
        }
    }
    return at;
}

// The program's path: quotes group but escape nothing, as Windows reads it.
std::size_t take_program(std::string_view text, std::size_t at, std::string& program) {
    bool quoted = false;
    for (; at < text.size() && (quoted || !is_space(text[at])); ++at) {
        if (text[at] == '"') {
            quoted = !quoted;
        } else {
            program += text[at];
        }
    }
    return at;
}

// The line without a leading "call" (or "@call") of a batch file.
std::string_view without_call(std::string_view line) {
    line = without_leading_spaces(line);
    if (line.starts_with('@')) {
        line = without_leading_spaces(line.substr(1));
    }
    constexpr std::size_t call_length = 4;
    if (line.size() > call_length && lower(line.substr(0, call_length)) == "call" &&
        is_space(line[call_length])) {
        return line.substr(call_length);
    }
    return line;
}

std::optional<NodeOption> option_of_argument(std::string_view argument) {
    if (!argument.starts_with('-')) {
        return std::nullopt;
    }
    argument.remove_prefix(argument.starts_with("--") ? 2 : 1);
    const auto equals = argument.find('=');
    const std::string_view name = argument.substr(0, equals);
    if (name.empty()) {
        return std::nullopt;
    }
    return node_option(name, equals == std::string_view::npos
                                 ? std::nullopt
                                 : std::optional(argument.substr(equals + 1)));
}

}  // namespace

std::vector<std::string> command_line_arguments(std::string_view command_line) {
    std::vector<std::string> arguments;
    std::size_t at = 0;
    while (true) {
        while (at < command_line.size() && is_space(command_line[at])) {
            ++at;
        }
        if (at == command_line.size()) {
            return arguments;
        }
        at = take_argument(command_line, at, arguments.emplace_back());
    }
}

NodeOption node_option(std::string_view name, std::optional<std::string_view> value) {
    std::string key = lower(name);
    const std::string given(value.value_or(""));
    if (key.size() > 2 && key.starts_with("no")) {
        return {key.substr(2), switch_is_on(given) ? "0" : "1"};
    }
    return {std::move(key), given};
}

bool switch_is_on(std::string_view value) {
    value = without_leading_spaces(value);
    if (value.empty()) {
        return true;
    }
    if (value.front() == '+' || value.front() == '-') {
        value.remove_prefix(1);
    }
    const auto digits = value.substr(0, value.find_first_not_of("0123456789"));
    return digits.find_first_not_of('0') != std::string_view::npos;
}

NodeCommandLine read_node_command_line(std::string_view command_line) {
    const std::string_view line = without_leading_spaces(without_call(command_line));
    NodeCommandLine read;
    const std::size_t after_program =
        line.starts_with('-') ? 0 : take_program(line, 0, read.program);
    for (const std::string& argument : command_line_arguments(line.substr(after_program))) {
        if (auto option = option_of_argument(argument)) {
            read.options[option->name] = std::move(option->value);
        }
    }
    return read;
}

std::optional<std::string> data_folder_named(std::string_view command_line) {
    const NodeOptions options = read_node_command_line(command_line).options;
    const auto found = options.find("datadir");
    return found == options.end() ? std::nullopt : std::optional(found->second);
}

}  // namespace zvkob
