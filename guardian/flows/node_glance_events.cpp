#include "guardian/flows/node_glance_events.hpp"

#include "core/node_state/node_progress_text.hpp"
#include "core/time_text.hpp"
#include "guardian/flows/wallet_backup_events.hpp"
#include "guardian/flows/metered_events.hpp"
#include "guardian/flows/neighbour_events.hpp"
#include "guardian/flows/node_care.hpp"
#include "guardian/flows/node_state_now.hpp"
#include "guardian/flows/stop_node.hpp"

namespace zvkob {
namespace {

void forget_progress(GuardianEngine& g) {
    for (GuardedProgram* program : g.programs()) {
        program->node.rpc().forget();
    }
    if (g.guardian.glance.forget()) {
        g.host.show_guardian_state();
    }
}

// Trouble, and the end of a catch-up, are worth a quiet notice.
void give_notices(GuardianEngine& g, NodeCondition was, const NodeProgressState& now, bool alarm) {
    if (alarm) {
        g.host.notify(NoticeKind::trouble,
                      now.condition == NodeCondition::stuck ? "the node is stuck"
                                                            : "the node needs attention",
                      progress_tooltip(now));
    } else if (was == NodeCondition::catching_up && now.condition == NodeCondition::synced) {
        g.host.notify(NoticeKind::caught_up, "the node has caught up", progress_tooltip(now));
    }
}

// The node's one state changed: the history tells it once, whichever source
// told it, and a node that became stuck or needs attention flashes the
// taskbar button once.
void tell_changes(GuardianEngine& g, const GuardedProgram& program) {
    std::optional<MergedNodeState> shown = node_state_shown(g, program);
    if (!shown) {
        return;
    }
    ProgressTeller& teller = g.guardian.glance.teller();
    const NodeCondition was = teller.told().condition;
    const std::int64_t now_ms = g.services.clock.now_ms();
    ProgressNews news;
    teller.follow(shown->state, now_ms,
                  g.services.clock.utc_offset_minutes_at(shown->state.quiet_since_utc_ms), news);
    for (const std::string& event : news.events) {
        g.services.history.record(event);
    }
    if (news.alarm) {
        g.services.windows.flash_main_window();
    }
    give_notices(g, was, shown->state, news.alarm);
}

// What the node's RPC told that the care features use: its size, its
// warnings (each told once a run, whether the log or the RPC told it first)
// and its loaded wallets.
void hand_to_care(GuardianEngine& g, const NodeRpc& rpc) {
    if (rpc.state() == nullptr) {
        wallets_heard(g, std::nullopt);
        return;
    }
    const NodeChainFacts& chain = rpc.chain_facts();
    node_size_heard(
        g, chain.size_on_disk ? std::optional<std::uint64_t>(*chain.size_on_disk) : std::nullopt,
        chain.pruned);
    if (!rpc.warnings().empty()) {
        node_warned(g, rpc.warnings());
    }
    wallets_heard(g, rpc.answers() ? std::optional(rpc.wallets()) : std::nullopt);
}

// The log's reading: its own warnings are told once a run (whichever source
// told them first); its changes are told with the RPC's, as one state.
void take_reading(GuardianEngine& g, const GuardedProgram& program,
                  const ProgressReading& reading) {
    if (!reading.reading_event.empty()) {
        g.services.history.record(reading.reading_event);
    }
    g.guardian.glance.take(reading.state);
    node_log_read(g, reading.stop_lines);
    tell_changes(g, program);
    for (const std::string& warning : reading.news.warnings) {
        node_warned(g, warning);
    }
    g.host.show_guardian_state();
}

void take_poll(GuardianEngine& g, GuardedProgram& program, std::uint64_t ticket,
               const RpcPoll& poll) {
    const std::int64_t now = g.services.clock.now_ms();
    const RpcNews news =
        program.node.rpc().take(ticket, poll, now, g.services.clock.utc_offset_minutes_at(now));
    for (const std::string& event : news.events) {
        g.services.history.record(event);
    }
    tell_changes(g, program);
    hand_to_care(g, program.node.rpc());
    g.host.show_guardian_state();
}

void follow(GuardianEngine& g, GuardedProgram& program) {
    if (!g.guardian.glance.watched() ||
        g.guardian.glance.watched()->node_id() != program.node.id()) {
        g.guardian.glance.watch(std::make_shared<ProgressWatch>(
                                    program.node.id(), program.node.started_with(), g.data_folder,
                                    g.services.clock, program.node.seen_starting_ms()),
                                &program);
        g.host.following_another_node();  // its catch-up may be told again
    }
    if (g.guardian.glance.reading()) {
        return;  // one reading at a time
    }
    std::shared_ptr<ProgressWatch> watch = g.guardian.glance.watched();
    const std::optional<std::int64_t> woke = g.guardian.glance.take_wake();
    if (watch->has_no_log()) {
        // Nothing to wait on: the worker is not woken every two seconds for it.
        take_reading(g, program, watch->read(g.services.files, g.services.clock.now_ms(), woke));
        return;
    }
    g.guardian.glance.reading_started();
    run_in_background<ProgressReading>(
        g.services.background,
        [watch, &files = g.services.files, now = g.services.clock.now_ms(), woke] {
            return watch->read(files, now, woke);
        },
        [&g, &program, watch](ProgressReading reading) {
            g.guardian.glance.reading_done();
            if (g.guardian.glance.watches(watch)) {  // still the node of this copy
                take_reading(g, program, reading);
            }
        },
        g.lifetime);
}

}  // namespace

void node_progress_tick(GuardianEngine& g) {
    GuardedProgram* program =
        g.ticked(GuardTick::show_progress) ? running_node_program(g) : nullptr;
    if (program == nullptr || program->node.id() == 0) {
        forget_progress(g);
        return;
    }
    follow(g, *program);
}

void ask_the_node_when_due(GuardianEngine& g) {
    GuardedProgram* program =
        g.ticked(GuardTick::show_progress) ? running_node_program(g) : nullptr;
    const std::shared_ptr<ProgressWatch> watch = g.guardian.glance.watched();
    if (program == nullptr || program->node.id() == 0 || !watch ||
        watch->node_id() != program->node.id()) {
        return;  // the log's watch comes first: it knows what the log says of the RPC
    }
    NodeRpc& rpc = program->node.rpc();
    const std::int64_t now = g.services.clock.now_ms();
    rpc.follow(program->node.id(), now);
    if (!rpc.due(now)) {
        return;
    }
    const bool ask_wallets = rpc.wallets_due(now);
    const std::uint64_t ticket = rpc.asking(now);
    run_in_background<RpcPoll>(
        g.services.background,
        [watch, id = program->node.id(), ask_wallets, &http = g.services.http,
         &listeners = g.services.listeners, &files = g.services.files] {
            NodeRpcAsker asker(http, listeners, files);
            ProgressWatch::RpcToAsk ask = watch->rpc_to_ask(files);
            return poll_node_rpc(ask.endpoint, std::move(ask.not_yet), ask_wallets, asker, id);
        },
        [&g, program, ticket](RpcPoll poll) { take_poll(g, *program, ticket, poll); }, g.lifetime,
        Lane::node_rpc);  // a slow node never delays the log's reading
}

void power_resumed(GuardianEngine& g) {
    if (const auto away = g.guardian.glance.wake_watch().power_resumed(g.services.clock.now_ms())) {
        pc_woke(g, *away);
        ask_the_node_when_due(g);
    }
}

void pc_woke(GuardianEngine& g, std::int64_t away_ms) {
    GuardedProgram* program =
        g.ticked(GuardTick::show_progress) ? running_node_program(g) : nullptr;
    const std::shared_ptr<ProgressWatch> watch = g.guardian.glance.watched();
    if (program == nullptr || !watch || watch->node_id() != program->node.id()) {
        return;  // nothing followed: nothing to ask again
    }
    const std::int64_t now = g.services.clock.now_ms();
    g.services.history.record("The PC woke from sleep" +
                              (away_ms >= wake_gap_ms ? " after " + duration_text(away_ms) : "") +
                              ": ZV-KOB asks the node for its state again.");
    program->node.rpc().ask_now(now);
    g.guardian.glance.woke(now);
    tell_changes(g, *program);  // the tip's age decides at once
    g.host.show_guardian_state();
}

void show_progress_tick_changed(GuardianEngine& g) {
    if (!g.ticked(GuardTick::show_progress)) {
        forget_progress(g);
    }
    metered_progress_switched(g);
    g.host.show_guardian_state();
}

}  // namespace zvkob
