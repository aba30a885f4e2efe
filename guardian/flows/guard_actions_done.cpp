#include "guardian/flows/guard_actions_done.hpp"

#include "core/power/power_words.hpp"
#include "guardian/flows/metered_events.hpp"
#include "guardian/flows/neighbour_events.hpp"
#include "guardian/flows/stop_node.hpp"
#include "guardian/flows/node_state_now.hpp"

namespace zvkob {
namespace {

GuardedProgram* program_named(GuardianEngine& g, std::string_view name) {
    for (GuardedProgram* program : g.programs()) {
        if (program->name == name) {
            return program;
        }
    }
    return nullptr;
}

void stop_the_node(GuardianEngine& g, const StopTheNode& stop) {
    GuardedProgram* program = program_named(g, stop.program);
    const Outcome asked = program == nullptr ? Outcome::failure("no such program")
                                             : ask_node_to_stop(g, *program, stop.asker);
    if (!asked) {
        if (stop.asker == battery_stop_asker) {
            battery_stop_failed(g);  // the history's line before says why
        }
        return;
    }
    g.services.history.record(stop.event);
    g.host.notify(NoticeKind::trouble, stop.notice_title, stop.event);
}

}  // namespace

void cancel_the_countdown(GuardianEngine& g) {
    g.guardian.node_keeper.countdown_stopped();
    g.host.disarm_countdown();
}

void carry_out(GuardianEngine& g, const GuardActions& actions) {
    for (const GuardAction& action : actions) {
        if (const auto* stop = std::get_if<StopTheNode>(&action)) {
            stop_the_node(g, *stop);
        } else if (const auto* arm = std::get_if<ArmTheCountdown>(&action)) {
            g.host.arm_countdown(arm->wait, arm->for_whom);
        } else if (std::holds_alternative<DisarmTheCountdown>(action)) {
            g.host.disarm_countdown();
        } else if (const auto* line = std::get_if<WriteHistory>(&action)) {
            g.services.history.record(line->line);
        } else if (const auto* notice = std::get_if<Notify>(&action)) {
            g.host.notify(notice->kind, notice->title, notice->text);
        } else if (const auto* change = std::get_if<ChangeTheNetwork>(&action)) {
            change_node_network(g, change->endpoint, change->action);
        } else if (std::holds_alternative<FlashTheWindow>(action)) {
            g.services.windows.flash_main_window();
        } else if (const auto* message = std::get_if<TellTheUser>(&action)) {
            g.host.tell_user(message->text);
        }
    }
}

}  // namespace zvkob
