#include "guardian/flows/node_care.hpp"

#include "core/node_log/node_log_location.hpp"
#include "guardian/engine/care_meeting.hpp"
#include "guardian/flows/wallet_backup_events.hpp"
#include "main_window/in_notification_area.hpp"
#include "guardian/node/node_log.hpp"
#include "main_window/shown_state.hpp"
#include "guardian/flows/stop_node.hpp"
#include "main_window/window_menu.hpp"

namespace zvkob {
namespace {

unsigned long node_id_of(const NodeProgram* program) {
    return program == nullptr ? 0 : program->node.id();
}

// The PC is kept awake by the node's one state: its log's and its RPC's
// together, the tip's age deciding whether it catches up.
void keep_pc_awake(MainWindow& w, const NodeProgram* program, bool closing) {
    const auto shown = program ? node_state_shown(w, *program) : std::nullopt;
    follow_pc_awake(w.guardian,
                    {.ticked = w.keep_awake.ticked(),
                     .node_runs = node_id_of(program) != 0,
                     .closing = closing || w.closing.closing(),
                     .condition = shown ? std::optional(shown->state.condition) : std::nullopt,
                     .height = shown ? shown->state.height : std::nullopt},
                    w.services.clock.now_ms());
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

void take_runway_notice(MainWindow& w) {
    if (const auto notice = w.guardian.runway.take_notice()) {
        w.services.history.record(notice->event);
        tray_notice(w, NoticeKind::disk_filling, "the node's drive is filling up", notice->text);
    }
}

void look_at_the_drive(MainWindow& w, const NodeProgram* program) {
    const unsigned long id = node_id_of(program);
    if (id == 0) {
        w.guardian.runway.forget();
        return;
    }
    w.guardian.runway.follow(id);
    const std::int64_t now_ms = w.services.clock.now_ms();
    const std::optional<RunwayLook> look = w.guardian.runway.look_due(now_ms);
    if (!look) {
        return;
    }
    w.guardian.runway.look_started(*look, now_ms);
    run_in_background<std::optional<DiskSample>>(
        w.services.background,
        [&files = w.services.files,
         line = log_command_line(program->node.started_with(), w.data_folder), look = *look,
         now_ms] { return look_at_drive(files, line, look, now_ms); },
        [&w, id](std::optional<DiskSample> sample) {
            w.guardian.runway.look_done(id, sample);
            take_runway_notice(w);
            show_state(w);
        },
        w.lifetime, look->walk_folder ? Lane::folder_walk : Lane::disk);
}

}  // namespace

void care_tick(MainWindow& w) {
    NodeProgram* program = running_node_program(w);
    keep_pc_awake(w, program, false);
    look_at_the_drive(w, program);
    wallets_tick(w, program);
}

void keep_awake_clicked(MainWindow& w) {
    switch_tick(w, w.keep_awake, stored::keep_awake, "Keep the PC Awake While Catching Up");
    keep_pc_awake(w, running_node_program(w), false);
}

void let_the_pc_sleep(MainWindow& w) {
    keep_pc_awake(w, nullptr, true);
}

void node_size_heard(MainWindow& w, std::optional<std::uint64_t> size_on_disk, bool pruned) {
    w.guardian.runway.follow(node_id_of(running_node_program(w)));
    w.guardian.runway.rpc_heard(size_on_disk, pruned, w.services.clock.now_ms());
    show_state(w);
}

void node_warned(MainWindow& w, std::string_view warning) {
    if (const auto text =
            w.guardian.node_warnings.heard(node_id_of(running_node_program(w)), warning)) {
        w.services.history.record(*text);
        tray_notice(w, NoticeKind::node_warns, "the node warns", *text);
    }
}

std::string care_tooltip(const MainWindow& w, const NodeProgram& program) {
    if (program.node.id() == 0 || !program.node.life.runs()) {
        return {};
    }
    std::string lines = w.guardian.runway.tooltip_line();
    const std::string reminder = w.guardian.wallet_backups.reminder(w.services.clock.now_ms());
    if (!reminder.empty()) {
        lines += (lines.empty() ? "" : "\n") + reminder;
    }
    return lines;
}

}  // namespace zvkob
