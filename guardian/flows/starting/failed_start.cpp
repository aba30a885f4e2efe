#include "guardian/flows/starting/failed_start.hpp"

#include "core/node_log/node_log_line.hpp"
#include "guardian/flows/node_state_now.hpp"
#include "guardian/flows/starting/background_checks.hpp"

namespace zvkob {
namespace {

// The node's own words: its line without the time in front.
std::string node_words(const NodeStop& stop) {
    return std::string(read_log_line(stop.fatal_line).message);
}

void tell_the_reason(GuardianEngine& g, GuardedProgram& program, const NodeStop& stop,
                     const std::string& message) {
    const std::string words = node_words(stop);
    g.services.history.record("The " + std::string(program.name) +
                              " program's log since this start shows why it ended (" + stop.why +
                              "): " + words + " " + stop.hint);
    program.node.note_error_end(words + "\n" + stop.hint);
    if (g.guardian.node_keeper.on()) {
        g.guardian.node_keeper.leave_alone(program.described(), "at once after an error");
    }
    g.services.windows.flash_main_window();
    g.host.notify(NoticeKind::trouble, "the node could not start", words + "\n" + stop.hint);
    g.host.tell_user(message);
}

}  // namespace

std::string failed_start_paragraph(const NodeStop& stop) {
    return "The node's log says why: " + node_words(stop) + "\n\n" + stop.hint;
}

void explain_failed_start(GuardianEngine& g, GuardedProgram& program, const StoppedNode& node,
                          std::string opening) {
    check_in_background<NodeStop>(
        g, "the node's log",
        [&files = g.services.files, node] { return how_the_node_stopped(files, node); },
        [&g, &program, opening = std::move(opening)](const NodeStop& stop) {
            if (stop.how == HowItStopped::after_error && !stop.fatal_line.empty()) {
                const std::string said = opening.empty()
                                             ? "The " + std::string(program.name) +
                                                   " program ended right after its start.\n\n"
                                             : opening;
                tell_the_reason(g, program, stop, said + failed_start_paragraph(stop));
            } else if (!opening.empty()) {
                g.host.tell_user(
                    opening + "Check the " + std::string(program.name) + " Folder and " +
                    std::string(program.name) +
                    " Filename in Settings, press \"Save To Registry\" and \"Save .BAT "
                    "Files\", then try again.");
            }
        });
}

}  // namespace zvkob
