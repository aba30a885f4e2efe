#include "guardian/flows/start_rule.hpp"

#include "main_window/starting/launcher.hpp"
#include "guardian/flows/node_state_now.hpp"
#include "main_window/shown_state.hpp"
#include "guardian/flows/start_check_events.hpp"

namespace zvkob {
namespace {

std::string this_copys(const NodeProgram& program) {
    return "this copy's " + std::string(program.name) + " program " + program.image + " (process " +
           std::to_string(program.node.id()) + ")";
}

}  // namespace

StartAnswer may_start_now(MainWindow& w, const NodeProgram& program, const DriveCheck& drive) {
    if (w.guardian.sign_out.ending()) {
        return {StartRefusal::session_ending, "Windows is ending the session"};
    }
    if (const auto unwatched = unwatched_programs(w)) {
        return {StartRefusal::not_watched, "ZV-KOB cannot tell " + *unwatched};
    }
    switch (program.node.life.stage()) {
        case NodeStage::running:
            return {StartRefusal::node_runs, this_copys(program) + " runs"};
        case NodeStage::asked_to_stop:
            return {StartRefusal::node_stopping,
                    this_copys(program) + " is stopping (" +
                        asked_text(program.node.life, w.services.clock.now_ms()) + ")"};
        default:
            break;
    }
    switch (drive.result) {
        case DriveCheck::folder_missing:
            return {StartRefusal::data_folder_missing, drive.reason};
        case DriveCheck::short_of_space:
            return {StartRefusal::short_of_space, drive.reason, drive.free_bytes};
        case DriveCheck::fine:
            break;
    }
    return {};
}

}  // namespace zvkob
