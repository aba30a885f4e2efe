#include "core/node_stop_rules.hpp"

namespace zvkob {

std::optional<std::string> ctrl_c_refusal(const std::vector<ConsoleProcess>& on_console,
                                          unsigned long node_id, unsigned long interpreter_id,
                                          unsigned long own_id) {
    std::string others;
    for (const ConsoleProcess& process : on_console) {
        if (process.id == node_id || process.id == own_id ||
            (interpreter_id != 0 && process.id == interpreter_id)) {
            continue;
        }
        others += (others.empty() ? "" : ", ") +
                  (process.image.empty() ? std::string("a program") : process.image) +
                  " (process " + std::to_string(process.id) + ")";
    }
    if (others.empty()) {
        return std::nullopt;
    }
    return "The node's console is shared with " + others +
           ", which Ctrl+C would stop too, so ZV-KOB does not press it. Stop the node in its own "
           "window (press Ctrl+C there).";
}

bool ends_left_interpreter(const LeftInterpreter& interpreter) {
    return interpreter.runs && !interpreter.console_shown && interpreter.started_by_zvkob;
}

bool receives_close(const ProgramWindow& window) {
    return window.visible && !window.owned;
}

}  // namespace zvkob
