#include "core/service/service_rules.hpp"

#include <algorithm>
#include <cctype>

#include "core/power/power_stop_rule.hpp"
#include "core/processes/batch_node_line.hpp"

namespace zvkob {
namespace {

std::string_view trimmed(std::string_view line) {
    const auto first = line.find_first_not_of(" \t@");
    if (first == line.npos) {
        return {};
    }
    return line.substr(first, line.find_last_not_of(" \t\r") - first + 1);
}

std::string lower(std::string_view text) {
    std::string lowered(text);
    std::ranges::transform(lowered, lowered.begin(),
                           [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lowered;
}

// Lines that change nothing for the node: blank, a comment, a label, echo off.
bool changes_nothing(std::string_view line) {
    const std::string lowered = lower(line);
    return lowered.empty() || lowered.starts_with(':') || lowered == "echo off" ||
           lowered == "rem" || lowered.starts_with("rem ");
}

}  // namespace

std::string service_name(std::string_view instance, std::string_view user_name) {
    return "ZV-KOB " + std::string(instance) + " (" + std::string(user_name) + ")";
}

std::int64_t shutdown_wait_ms(const ExpectedStop& stop) {
    return std::clamp(stop_margin_ms(stop.ms), shortest_shutdown_wait_ms, longest_shutdown_wait_ms);
}

std::string service_command_line(std::string_view program_path) {
    return "\"" + std::string(program_path) + "\" --service";
}

ServiceNodeCommand service_node_command(std::string_view batch_text, std::string_view image) {
    const std::string node_line = batch_node_line(batch_text, image);
    if (node_line.empty()) {
        return {{}, "the batch file starts no program"};
    }
    while (!batch_text.empty()) {
        const auto end = batch_text.find('\n');
        const std::string_view line = trimmed(batch_text.substr(0, end));
        batch_text = end == batch_text.npos ? std::string_view() : batch_text.substr(end + 1);
        if (!changes_nothing(line) && line != node_line) {
            return {{}, "the batch file does more than start the node (\"" + std::string(line) +
                            "\"); the service starts the node alone, with no console, so save "
                            "the .BAT files again from the settings window"};
        }
    }
    std::string_view command = node_line;
    if (lower(command.substr(0, 5)) == "call ") {
        command = trimmed(command.substr(5));
    }
    return {std::string(command), {}};
}

}  // namespace zvkob
