#include "core/processes/node_stop_rules.hpp"

namespace zvkob {
namespace {

// "powershell.exe (process 3000), bitcoind.exe (process 3100)": the programs
// on the console beside the node, its interpreter and ZV-KOB.
std::string others_on(const NodeConsole& console) {
    std::string others;
    for (const ConsoleProcess& process : console.processes) {
        if (process.id == console.node_id || process.id == console.own_id ||
            (console.interpreter_id != 0 && process.id == console.interpreter_id)) {
            continue;
        }
        others += (others.empty() ? "" : ", ") +
                  (process.image.empty() ? std::string("a program") : process.image) +
                  " (process " + std::to_string(process.id) + ")";
    }
    return others;
}

std::string where_started(const NodeConsole& console) {
    return "It was not started by ZV-KOB but by " +
           (console.started_by.empty() ? std::string("a program that has ended since")
                                       : console.started_by);
}

}  // namespace

std::optional<std::string> ctrl_c_refusal(const NodeConsole& console) {
    const bool adopted = console.interpreter_id == 0;
    if (adopted && console.shown) {
        return where_started(console) +
               ", and it runs in a console window you can see. Ctrl+C there would reach every "
               "program in that window, so ZV-KOB leaves the node to you: stop it there (press "
               "Ctrl+C in its window).";
    }
    const std::string others = others_on(console);
    if (others.empty()) {
        return std::nullopt;
    }
    return (adopted ? where_started(console) + ". " : std::string()) +
           "The node's console is shared with " + others +
           ", which Ctrl+C would stop too, so ZV-KOB does not press it. " +
           (adopted ? "Stop the node where it was started."
                    : "Stop the node in its own window (press Ctrl+C there).");
}

bool ends_left_interpreter(const LeftInterpreter& interpreter) {
    return interpreter.started_by_zvkob && interpreter.runs && !interpreter.console_shown;
}

bool receives_close(const ProgramWindow& window) {
    return window.visible && !window.owned;
}

}  // namespace zvkob
