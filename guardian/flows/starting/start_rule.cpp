#include "guardian/flows/starting/start_rule.hpp"

#include "guardian/flows/node_state_now.hpp"
#include "guardian/flows/starting/start_check_events.hpp"

namespace zvkob {
namespace {

std::string this_copys(const GuardedProgram& program) {
    return "this copy's " + std::string(program.name) + " program " + program.image + " (process " +
           std::to_string(program.node.id()) + ")";
}

}  // namespace

std::optional<std::string> unwatched_programs(const GuardianEngine& g) {
    const std::string& qt = g.guardian.qt.seen.query_failure;
    const std::string& daemon = g.guardian.daemon.seen.query_failure;
    if (qt.empty() && daemon.empty()) {
        return std::nullopt;
    }
    const char* programs = qt.empty()       ? "the DAEMON program runs"
                           : daemon.empty() ? "the QT program runs"
                                            : "the QT and DAEMON programs run";
    return std::string("whether ") + programs + ".\n\n" + (qt.empty() ? daemon : qt);
}

StartAnswer may_start_now(const GuardianEngine& g, const GuardedProgram& program,
                          const DriveCheck& drive) {
    if (g.guardian.sign_out.ending()) {
        return {StartRefusal::session_ending, "Windows is ending the session"};
    }
    if (const auto unwatched = unwatched_programs(g)) {
        return {StartRefusal::not_watched, "ZV-KOB cannot tell " + *unwatched};
    }
    switch (program.node.life.stage()) {
        case NodeStage::running:
            return {StartRefusal::node_runs, this_copys(program) + " runs"};
        case NodeStage::asked_to_stop:
            return {StartRefusal::node_stopping,
                    this_copys(program) + " is stopping (" +
                        asked_text(program.node.life, g.services.clock.now_ms()) + ")"};
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
