#include "guardian/flows/node_glance_events.hpp"

#include "core/node_state/node_progress_text.hpp"
#include "core/time_text.hpp"
#include "guardian/flows/wallet_backup_events.hpp"
#include "main_window/in_notification_area.hpp"
#include "guardian/flows/metered_events.hpp"
#include "guardian/flows/neighbour_events.hpp"
#include "guardian/flows/node_care.hpp"
#include "main_window/shown_state.hpp"
#include "guardian/flows/stop_node.hpp"
#include "main_window/window_menu.hpp"

namespace zvkob {
namespace {

void forget_progress(MainWindow& w) {
    for (NodeProgram* program : w.programs()) {
        program->node.rpc().forget();
    }
    if (w.guardian.glance.forget()) {
        show_state(w);
    }
}

// Trouble, and the end of a catch-up, are worth a quiet notice.
void give_notices(MainWindow& w, NodeCondition was, const NodeProgressState& now, bool alarm) {
    if (alarm) {
        tray_notice(w, NoticeKind::trouble,
                    now.condition == NodeCondition::stuck ? "the node is stuck"
                                                          : "the node needs attention",
                    progress_tooltip(now));
    } else if (was == NodeCondition::catching_up && now.condition == NodeCondition::synced) {
        tray_notice(w, NoticeKind::caught_up, "the node has caught up", progress_tooltip(now));
    }
}

// The node's one state changed: the history tells it once, whichever source
// told it, and a node that became stuck or needs attention flashes the
// taskbar button once.
void tell_changes(MainWindow& w, const NodeProgram& program) {
    std::optional<MergedNodeState> shown = node_state_shown(w, program);
    if (!shown) {
        return;
    }
    ProgressTeller& teller = w.guardian.glance.teller();
    const NodeCondition was = teller.told().condition;
    const std::int64_t now_ms = w.services.clock.now_ms();
    ProgressNews news;
    teller.follow(shown->state, now_ms,
                  w.services.clock.utc_offset_minutes_at(shown->state.quiet_since_utc_ms), news);
    for (const std::string& event : news.events) {
        w.services.history.record(event);
    }
    if (news.alarm) {
        w.services.windows.flash_main_window();
    }
    give_notices(w, was, shown->state, news.alarm);
}

// What the node's RPC told that the care features use: its size, its
// warnings (each told once a run, whether the log or the RPC told it first)
// and its loaded wallets.
void hand_to_care(MainWindow& w, const NodeRpc& rpc) {
    if (rpc.state() == nullptr) {
        wallets_heard(w, std::nullopt);
        return;
    }
    const NodeChainFacts& chain = rpc.chain_facts();
    node_size_heard(
        w, chain.size_on_disk ? std::optional<std::uint64_t>(*chain.size_on_disk) : std::nullopt,
        chain.pruned);
    if (!rpc.warnings().empty()) {
        node_warned(w, rpc.warnings());
    }
    wallets_heard(w, rpc.answers() ? std::optional(rpc.wallets()) : std::nullopt);
}

// The log's reading: its own warnings are told once a run (whichever source
// told them first); its changes are told with the RPC's, as one state.
void take_reading(MainWindow& w, const NodeProgram& program, const ProgressReading& reading) {
    if (!reading.reading_event.empty()) {
        w.services.history.record(reading.reading_event);
    }
    w.guardian.glance.take(reading.state);
    node_log_read(w, reading.stop_lines);
    tell_changes(w, program);
    for (const std::string& warning : reading.news.warnings) {
        node_warned(w, warning);
    }
    show_state(w);
}

void take_poll(MainWindow& w, NodeProgram& program, std::uint64_t ticket, const RpcPoll& poll) {
    const std::int64_t now = w.services.clock.now_ms();
    const RpcNews news =
        program.node.rpc().take(ticket, poll, now, w.services.clock.utc_offset_minutes_at(now));
    for (const std::string& event : news.events) {
        w.services.history.record(event);
    }
    tell_changes(w, program);
    hand_to_care(w, program.node.rpc());
    show_state(w);
}

void follow(MainWindow& w, NodeProgram& program) {
    if (!w.guardian.glance.watched() ||
        w.guardian.glance.watched()->node_id() != program.node.id()) {
        w.guardian.glance.watch(std::make_shared<ProgressWatch>(
                                    program.node.id(), program.node.started_with(), w.data_folder,
                                    w.services.clock, program.node.seen_starting_ms()),
                                &program.guarded);
        w.tray.node_started();  // its catch-up may be told again
    }
    if (w.guardian.glance.reading()) {
        return;  // one reading at a time
    }
    std::shared_ptr<ProgressWatch> watch = w.guardian.glance.watched();
    const std::optional<std::int64_t> woke = w.guardian.glance.take_wake();
    if (watch->has_no_log()) {
        // Nothing to wait on: the worker is not woken every two seconds for it.
        take_reading(w, program, watch->read(w.services.files, w.services.clock.now_ms(), woke));
        return;
    }
    w.guardian.glance.reading_started();
    run_in_background<ProgressReading>(
        w.services.background,
        [watch, &files = w.services.files, now = w.services.clock.now_ms(), woke] {
            return watch->read(files, now, woke);
        },
        [&w, &program, watch](ProgressReading reading) {
            w.guardian.glance.reading_done();
            if (w.guardian.glance.watches(watch)) {  // still the node of this copy
                take_reading(w, program, reading);
            }
        },
        w.lifetime);
}

}  // namespace

void node_progress_tick(MainWindow& w) {
    NodeProgram* program = w.show_progress.ticked() ? running_node_program(w) : nullptr;
    if (program == nullptr || program->node.id() == 0) {
        forget_progress(w);
        return;
    }
    follow(w, *program);
}

void ask_the_node_when_due(MainWindow& w) {
    NodeProgram* program = w.show_progress.ticked() ? running_node_program(w) : nullptr;
    const std::shared_ptr<ProgressWatch> watch = w.guardian.glance.watched();
    if (program == nullptr || program->node.id() == 0 || !watch ||
        watch->node_id() != program->node.id()) {
        return;  // the log's watch comes first: it knows what the log says of the RPC
    }
    NodeRpc& rpc = program->node.rpc();
    const std::int64_t now = w.services.clock.now_ms();
    rpc.follow(program->node.id(), now);
    if (!rpc.due(now)) {
        return;
    }
    const bool ask_wallets = rpc.wallets_due(now);
    const std::uint64_t ticket = rpc.asking(now);
    run_in_background<RpcPoll>(
        w.services.background,
        [watch, id = program->node.id(), ask_wallets, &http = w.services.http,
         &listeners = w.services.listeners, &files = w.services.files] {
            NodeRpcAsker asker(http, listeners, files);
            ProgressWatch::RpcToAsk ask = watch->rpc_to_ask(files);
            return poll_node_rpc(ask.endpoint, std::move(ask.not_yet), ask_wallets, asker, id);
        },
        [&w, program, ticket](RpcPoll poll) { take_poll(w, *program, ticket, poll); }, w.lifetime,
        Lane::node_rpc);  // a slow node never delays the log's reading
}

void pc_woke(MainWindow& w, std::int64_t away_ms) {
    NodeProgram* program = w.show_progress.ticked() ? running_node_program(w) : nullptr;
    const std::shared_ptr<ProgressWatch> watch = w.guardian.glance.watched();
    if (program == nullptr || !watch || watch->node_id() != program->node.id()) {
        return;  // nothing followed: nothing to ask again
    }
    const std::int64_t now = w.services.clock.now_ms();
    w.services.history.record("The PC woke from sleep" +
                              (away_ms >= wake_gap_ms ? " after " + duration_text(away_ms) : "") +
                              ": ZV-KOB asks the node for its state again.");
    program->node.rpc().ask_now(now);
    w.guardian.glance.woke(now);
    tell_changes(w, *program);  // the tip's age decides at once
    show_state(w);
}

void show_progress_clicked(MainWindow& w) {
    switch_tick(w, w.show_progress, stored::node_progress, "Show the Node's Progress");
    if (!w.show_progress.ticked()) {
        forget_progress(w);
    }
    metered_progress_switched(w);
    show_state(w);
}

}  // namespace zvkob
