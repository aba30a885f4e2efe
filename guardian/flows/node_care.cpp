#include "guardian/flows/node_care.hpp"

#include "core/node_log/node_log_location.hpp"
#include "core/text_lines.hpp"
#include "guardian/engine/care_meeting.hpp"
#include "guardian/flows/wallet_backup_events.hpp"
#include "guardian/node/node_log.hpp"
#include "guardian/flows/node_state_now.hpp"
#include "guardian/flows/stop_node.hpp"

namespace zvkob {
namespace {

unsigned long node_id_of(const GuardedProgram* program) {
    return program == nullptr ? 0 : program->node.id();
}

// The PC is kept awake by the node's one state: its log's and its RPC's
// together, the tip's age deciding whether it catches up.
void keep_pc_awake(GuardianEngine& g, const GuardedProgram* program, bool closing) {
    const auto shown = program ? node_state_shown(g, *program) : std::nullopt;
    follow_pc_awake(g.guardian,
                    {.ticked = g.ticked(GuardTick::keep_awake),
                     .node_runs = node_id_of(program) != 0,
                     .closing = closing || g.host.is_closing(),
                     .condition = shown ? std::optional(shown->state.condition) : std::nullopt,
                     .height = shown ? shown->state.height : std::nullopt},
                    g.services.clock.now_ms());
}

// On the worker: the drive's free space and, when asked, the data folder's
// size, each of the folder the node keeps its data in.
std::optional<DiskSample> look_at_drive(FileSystem& files, const std::string& command_line,
                                        const RunwayLook& look, std::int64_t now_ms) {
    const NodeLogLocation where = node_log_location(command_line, [&files](std::string_view path) {
        return files.read_text(path, TextCoding::utf8);
    });
    if (where.data_folder.empty()) {
        return std::nullopt;  // the node's default folder, which ZV-KOB does not guess
    }
    const FreeSpace free = files.free_space(where.data_folder);
    if (!free.failure.empty()) {
        return std::nullopt;
    }
    DiskSample sample{
        .at_ms = now_ms, .node_bytes = look.node_bytes.value_or(0), .free_bytes = free.bytes};
    if (look.walk_folder) {
        const FolderSize size = files.folder_size(where.data_folder, folder_walk_limit_ms);
        if (!size.failure.empty() || !size.complete) {
            return std::nullopt;
        }
        sample.node_bytes = size.bytes;
    }
    return sample;
}

void take_runway_notice(GuardianEngine& g) {
    if (const auto notice = g.guardian.runway.take_notice()) {
        g.services.history.record(notice->event);
        g.host.notify(NoticeKind::disk_filling, "the node's drive is filling up", notice->text);
    }
}

void look_at_the_drive(GuardianEngine& g, const GuardedProgram* program) {
    const unsigned long id = node_id_of(program);
    if (id == 0) {
        g.guardian.runway.forget();
        return;
    }
    g.guardian.runway.follow(id);
    const std::int64_t now_ms = g.services.clock.now_ms();
    const std::optional<RunwayLook> look = g.guardian.runway.look_due(now_ms);
    if (!look) {
        return;
    }
    g.guardian.runway.look_started(*look, now_ms);
    run_in_background<std::optional<DiskSample>>(
        g.services.background,
        [&files = g.services.files,
         line = log_command_line(program->node.started_with(), g.data_folder), look = *look,
         now_ms] { return look_at_drive(files, line, look, now_ms); },
        [&g, id](std::optional<DiskSample> sample) {
            g.guardian.runway.look_done(id, sample);
            take_runway_notice(g);
            g.host.show_guardian_state();
        },
        g.lifetime, look->walk_folder ? Lane::folder_walk : Lane::disk);
}

}  // namespace

void care_tick(GuardianEngine& g) {
    GuardedProgram* program = running_node_program(g);
    keep_pc_awake(g, program, false);
    look_at_the_drive(g, program);
    wallets_tick(g, program);
}

void keep_awake_tick_changed(GuardianEngine& g) {
    keep_pc_awake(g, running_node_program(g), false);
}

void let_the_pc_sleep(GuardianEngine& g) {
    keep_pc_awake(g, nullptr, true);
}

void node_size_heard(GuardianEngine& g, std::optional<std::uint64_t> size_on_disk, bool pruned) {
    g.guardian.runway.follow(node_id_of(running_node_program(g)));
    g.guardian.runway.rpc_heard(size_on_disk, pruned, g.services.clock.now_ms());
    g.host.show_guardian_state();
}

void node_warned(GuardianEngine& g, std::string_view warning) {
    if (const auto text =
            g.guardian.node_warnings.heard(node_id_of(running_node_program(g)), warning)) {
        g.services.history.record(*text);
        g.host.notify(NoticeKind::node_warns, "the node warns", *text);
    }
}

std::string care_tooltip(const GuardianEngine& g, const GuardedProgram& program) {
    if (program.node.id() == 0 || !program.node.life.runs()) {
        return {};
    }
    std::string lines = g.guardian.runway.tooltip_line();
    const std::string reminder = g.guardian.wallet_backups.reminder(g.services.clock.now_ms());
    add_line(lines, reminder);
    return lines;
}

}  // namespace zvkob
