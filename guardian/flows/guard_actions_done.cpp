#include "guardian/flows/guard_actions_done.hpp"

#include "core/power/power_words.hpp"
#include "guardian/flows/metered_events.hpp"
#include "guardian/flows/neighbour_events.hpp"
#include "guardian/flows/stop_node.hpp"
#include "main_window/in_notification_area.hpp"
#include "main_window/shown_state.hpp"
#include "main_window/starting/countdown_events.hpp"

namespace zvkob {
namespace {

NodeProgram* program_named(MainWindow& w, std::string_view name) {
    for (NodeProgram* program : w.programs()) {
        if (program->name == name) {
            return program;
        }
    }
    return nullptr;
}

void stop_the_node(MainWindow& w, const StopTheNode& stop) {
    NodeProgram* program = program_named(w, stop.program);
    const Outcome asked = program == nullptr ? Outcome::failure("no such program")
                                             : ask_node_to_stop(w, *program, stop.asker);
    if (!asked) {
        if (stop.asker == battery_stop_asker) {
            battery_stop_failed(w);  // the history's line before says why
        }
        return;
    }
    w.services.history.record(stop.event);
    tray_notice(w, NoticeKind::trouble, stop.notice_title, stop.event);
}

}  // namespace

void carry_out(MainWindow& w, const GuardActions& actions) {
    for (const GuardAction& action : actions) {
        if (const auto* stop = std::get_if<StopTheNode>(&action)) {
            stop_the_node(w, *stop);
        } else if (const auto* arm = std::get_if<ArmTheCountdown>(&action)) {
            arm_countdown(w, arm->wait, arm->for_whom);
        } else if (std::holds_alternative<DisarmTheCountdown>(action)) {
            disarm_countdown(w);
        } else if (const auto* line = std::get_if<WriteHistory>(&action)) {
            w.services.history.record(line->line);
        } else if (const auto* notice = std::get_if<Notify>(&action)) {
            tray_notice(w, notice->kind, notice->title, notice->text);
        } else if (const auto* change = std::get_if<ChangeTheNetwork>(&action)) {
            change_node_network(w, change->endpoint, change->action);
        } else if (std::holds_alternative<FlashTheWindow>(action)) {
            w.services.windows.flash_main_window();
        } else if (const auto* message = std::get_if<TellTheUser>(&action)) {
            tell(w, message->text);
        }
    }
}

}  // namespace zvkob
