#include "core/service/service_rules.hpp"

#include <algorithm>

#include "core/power/power_stop_rule.hpp"
#include "core/processes/batch_node_line.hpp"

namespace zvkob {

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
    const LoneNodeLine node = lone_node_line(batch_text, image);
    if (!node.other.empty()) {
        return {{}, "the batch file does more than start the node (\"" + node.other +
                        "\"); the service starts the node alone, with no console, so save "
                        "the .BAT files again from the settings window"};
    }
    if (node.line.empty()) {
        return {{}, "the batch file starts no program"};
    }
    return {node.command, {}, node.line};
}

}  // namespace zvkob
