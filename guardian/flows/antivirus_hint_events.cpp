#include "guardian/flows/antivirus_hint_events.hpp"

#include "guardian/node/node_log.hpp"
#include "guardian/flows/node_state_now.hpp"
#include "guardian/flows/stop_node.hpp"

namespace zvkob {

void antivirus_hint_tick(GuardianEngine& g) {
    const GuardedProgram* program =
        g.ticked(GuardTick::show_progress) ? running_node_program(g) : nullptr;
    const unsigned long id = program == nullptr ? 0 : program->node.id();
    g.guardian.antivirus_hint.follow(id);
    const std::int64_t now_ms = g.services.clock.now_ms();
    if (!g.guardian.antivirus_hint.look_due(now_ms)) {
        return;
    }
    g.guardian.antivirus_hint.look_started(now_ms);
    run_in_background<BlockFilesLook>(
        g.services.background,
        [&files = g.services.files,
         line = log_command_line(program->node.started_with(), g.data_folder)] {
            return look_at_block_files(files, line);
        },
        [&g, id](BlockFilesLook look) {
            if (const auto event = g.guardian.antivirus_hint.look_done(id, look)) {
                g.services.history.record(*event);
            }
            g.host.show_guardian_state();
        },
        g.lifetime);
}

std::string antivirus_hint_line(const GuardianEngine& g, const GuardedProgram& program) {
    const bool followed = g.ticked(GuardTick::show_progress) && program.node.id() != 0 &&
                          program.node.id() == g.guardian.antivirus_hint.node_id() &&
                          program.node.life.runs();
    return followed ? g.guardian.antivirus_hint.tooltip_line() : std::string();
}

}  // namespace zvkob
