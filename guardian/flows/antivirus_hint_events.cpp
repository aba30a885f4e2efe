#include "guardian/flows/antivirus_hint_events.hpp"

#include "guardian/node/node_log.hpp"
#include "main_window/shown_state.hpp"
#include "guardian/flows/stop_node.hpp"

namespace zvkob {

void antivirus_hint_tick(MainWindow& w) {
    const NodeProgram* program = w.show_progress.ticked() ? running_node_program(w) : nullptr;
    const unsigned long id = program == nullptr ? 0 : program->node.id();
    w.guardian.antivirus_hint.follow(id);
    const std::int64_t now_ms = w.services.clock.now_ms();
    if (!w.guardian.antivirus_hint.look_due(now_ms)) {
        return;
    }
    w.guardian.antivirus_hint.look_started(now_ms);
    run_in_background<BlockFilesLook>(
        w.services.background,
        [&files = w.services.files,
         line = log_command_line(program->node.started_with(), w.data_folder)] {
            return look_at_block_files(files, line);
        },
        [&w, id](BlockFilesLook look) {
            if (const auto event = w.guardian.antivirus_hint.look_done(id, look)) {
                w.services.history.record(*event);
            }
            show_state(w);
        },
        w.lifetime);
}

std::string antivirus_hint_line(const MainWindow& w, const NodeProgram& program) {
    const bool followed = w.show_progress.ticked() && program.node.id() != 0 &&
                          program.node.id() == w.guardian.antivirus_hint.node_id() &&
                          program.node.life.runs();
    return followed ? w.guardian.antivirus_hint.tooltip_line() : std::string();
}

}  // namespace zvkob
