#include "service/guarding/service_guard.hpp"

#include "core/power/node_priority.hpp"
#include "core/service/service_rules.hpp"
#include "core/settings/setting_text.hpp"
#include "core/settings/settings_catalogue.hpp"
#include "guardian/engine/node_gone_meeting.hpp"
#include "guardian/flows/guard_actions_done.hpp"
#include "guardian/flows/guardian_snapshot.hpp"
#include "guardian/flows/guardian_ticks.hpp"
#include "guardian/flows/metered_events.hpp"
#include "guardian/flows/neighbour_events.hpp"
#include "guardian/flows/node_care.hpp"
#include "guardian/flows/node_glance_events.hpp"
#include "guardian/flows/node_gone_events.hpp"
#include "guardian/flows/antivirus_hint_events.hpp"
#include "guardian/flows/process_watcher.hpp"
#include "guardian/flows/starting/start_check_events.hpp"
#include "guardian/flows/starting/start_rule.hpp"
#include "guardian/flows/stop_node.hpp"
#include "guardian/flows/wallet_backup_events.hpp"

namespace zvkob {
namespace {

// A start that cannot be made now (the drive not there, the batch file
// refused) is tried again a minute later, as the countdown does.
constexpr std::int64_t start_again_after_ms = 60'000;

std::string requester_words(StartRequest requester) {
    switch (requester) {
        case StartRequest::keep_node_running:
            return "Keep Node Running";
        case StartRequest::mains_restart:
            return "The restart on mains power";
        case StartRequest::launch:
        case StartRequest::countdown:
            break;
    }
    return "The service";
}

// A tick read as the window reads it at its load: a value that is not a
// tick counts as missing.
bool stored_tick(SettingsStore& store, const StoredSetting& setting) {
    const auto tick = parse_tick(store.get(setting.key, setting.default_text));
    return tick.value_or(parse_tick(setting.default_text).value_or(0)) == 1;
}

}  // namespace

ServiceGuard::ServiceGuard(const GuardianServices& services, CommandRunner& runner,
                           ServiceStatus& status, ServiceNames names)
    : runner_(runner),
      status_(status),
      names_(std::move(names)),
      engine_(services, *this,
              {[this] { return keep_node_running_; }, [this] { return countdown_runs(); }, false},
              countdown_) {
    engine_.guardian.daemon.chosen = [] { return true; };
}

// What the window would show from the store at its load. Show the Node's
// Progress is always on here: the node's RPC is the service's only way to
// stop the node, and its log tells how it ended.
void ServiceGuard::read_settings() {
    SettingsStore& store = engine_.services.store;
    GuardedProgram& daemon = engine_.guardian.daemon;
    daemon.image = store.get(stored::daemon_image.key, "");
    daemon.batch_path = store.get(stored::daemon_batch_path.key, "");
    engine_.data_folder = store.get(stored::data_folder.key, "");
    engine_.backup_folder = store.get(stored::backup_folder.key, "");
    keep_node_running_ = stored_tick(store, stored::keep_node_running);
    ticks_[static_cast<std::size_t>(GuardTick::show_progress)] = true;
    ticks_[static_cast<std::size_t>(GuardTick::keep_awake)] = stored_tick(store, stored::keep_awake);
    ticks_[static_cast<std::size_t>(GuardTick::battery_stop)] =
        stored_tick(store, stored::battery_stop);
    ticks_[static_cast<std::size_t>(GuardTick::metered_pause)] =
        stored_tick(store, stored::metered_pause);
    ticks_[static_cast<std::size_t>(GuardTick::low_priority)] =
        stored_tick(store, stored::node_low_priority);
    ticks_[static_cast<std::size_t>(GuardTick::check_data_drive)] =
        stored_tick(store, stored::check_data_drive);
}

void ServiceGuard::begin() {
    read_settings();
    status_.running();
    const GuardedProgram& daemon = engine_.guardian.daemon;
    engine_.services.history.record(
        "The service " + names_.service + " started: it guards " + daemon.described() +
        " before anyone signs in" + (keep_node_running_ ? ", with Keep Node Running." : "."));
    if (daemon.image.empty() || daemon.batch_path.empty()) {
        engine_.services.history.record(
            "The service starts nothing: no DAEMON program and batch file are saved in the "
            "settings of ZV-KOB " + names_.instance + ".");
        return;
    }
    arm_countdown(std::chrono::milliseconds(0), StartRequest::countdown);
}

bool ServiceGuard::ticked(GuardTick tick) const {
    return ticks_[static_cast<std::size_t>(tick)];
}

void ServiceGuard::tell_user(std::string_view message) {
    engine_.services.history.record(message);
}

void ServiceGuard::arm_countdown(std::chrono::milliseconds wait, StartRequest for_whom) {
    countdown_.arm(for_whom, wait);
    start_for_ = for_whom;
    start_due_ms_ = engine_.services.clock.now_ms() + wait.count();
}

void ServiceGuard::watcher_tick() {
    if (ended_) {
        return;
    }
    watcher_tick_begins(engine_);
    GuardedProgram& daemon = engine_.guardian.daemon;
    const ProgramWatched watched = watch_program(engine_, daemon);
    if (watched.gone) {
        this_copys_node_gone(engine_, daemon, *watched.gone);
    }
    watcher_tick_reads(engine_);
    if (stopping_) {
        follow_the_stop();
        return;
    }
    watcher_tick_acts(engine_);
    start_when_due();
}

void ServiceGuard::progress_tick() {
    if (ended_) {
        return;
    }
    node_progress_tick(engine_);
    if (!stopping_) {
        care_tick(engine_);
    }
    antivirus_hint_tick(engine_);
}

// The start waits for the watcher's first look: a node that runs already
// (started by hand before the service) is not started a second time.
void ServiceGuard::start_when_due() {
    const GuardedProgram& daemon = engine_.guardian.daemon;
    if (!start_due_ms_ || checking_drive_ || engine_.services.clock.now_ms() < *start_due_ms_ ||
        daemon.seen.state == RunningState::not_probed || daemon.seen.starting) {
        return;
    }
    if (daemon.seen.running() && !daemon.node.life.runs()) {
        engine_.services.history.record("The service starts nothing: " + daemon.described() +
                                        " runs already, started by someone else.");
        disarm_countdown();
        return;
    }
    if (!data_drive_checked(engine_)) {
        start_checked({});
        return;
    }
    checking_drive_ = true;
    check_data_drive(engine_, [this](const DriveCheck& drive) {
        checking_drive_ = false;
        start_checked(drive);
    });
}

void ServiceGuard::start_checked(const DriveCheck& drive) {
    if (stopping_ || !start_due_ms_) {
        return;
    }
    const StartAnswer answer = may_start_now(engine_, engine_.guardian.daemon, drive);
    if (answer.refusal == StartRefusal::node_runs || answer.refusal == StartRefusal::node_stopping) {
        disarm_countdown();
        return;
    }
    if (!answer.allowed() || !start_node()) {
        if (!answer.allowed() && answer.reason != last_refusal_) {
            engine_.services.history.record("The service does not start the node yet: " +
                                            answer.reason + ". It tries again every minute.");
            last_refusal_ = answer.reason;
        }
        start_due_ms_ = engine_.services.clock.now_ms() + start_again_after_ms;
        return;
    }
    last_refusal_.clear();
    disarm_countdown();
}

// Started with no console and no interpreter: the node's own line of the
// batch file, as the user's own, never elevated, account.
bool ServiceGuard::start_node() {
    GuardedProgram& daemon = engine_.guardian.daemon;
    History& history = engine_.services.history;
    const std::string started = requester_words(start_for_) + " started the DAEMON program: " +
                                daemon.batch_path;
    const std::string batch_text =
        engine_.services.files.read_text(daemon.batch_path, TextCoding::console)
            .value_or(std::string());
    const ServiceNodeCommand command = service_node_command(batch_text, daemon.image);
    if (!command.refusal.empty()) {
        if (command.refusal != last_refusal_) {
            history.record(started + " - it could not start: " + command.refusal + ".");
            last_refusal_ = command.refusal;
        }
        return false;
    }
    const Start start = runner_.run_hidden(command.command_line,
                                           priority_at_start(ticked(GuardTick::low_priority)));
    if (!start.started()) {
        history.record(started + " - it could not start: " + start.failure);
        return false;
    }
    daemon.seen.starting = true;
    daemon.node.start_through(start.process, start_for_, command.node_line,
                              engine_.services.clock.now_ms());
    engine_.guardian.node_keeper.automatic_start(false);
    history.record(started + " (process " + std::to_string(start.process->id()) + ")");
    return true;
}

void ServiceGuard::stop_asked(std::string_view why) {
    if (stopping_ || ended_) {
        return;
    }
    stopping_ = true;
    cancel_the_countdown(engine_);
    const GuardedProgram& daemon = engine_.guardian.daemon;
    engine_.services.history.record(
        std::string(why) + (daemon.node.life.runs()
                                ? ": the service stops " + daemon.described() +
                                      " over its RPC before it ends."
                                : ": the service ends; it has no node running."));
    follow_the_stop();
}

// Its RPC is the only way to ask (the node has no console for a Ctrl+C),
// and it answers only once the node has loaded: asked at the first look it
// does, the service manager told at each look until the node has gone.
void ServiceGuard::follow_the_stop() {
    GuardedProgram& daemon = engine_.guardian.daemon;
    if (!daemon.node.life.runs()) {
        end(stop_was_asked_ ? "The service stopped; " + daemon.described() + " had stopped first."
                            : std::string("The service stopped."));
        return;
    }
    const PendingStop pending = pending_.next();
    status_.stop_pending(pending.checkpoint, pending.wait_hint_ms);
    if (daemon.node.life.stage() == NodeStage::asked_to_stop) {
        return;
    }
    if (!daemon.node.rpc().answers()) {
        if (!waiting_for_rpc_told_) {
            engine_.services.history.record(
                "The node's RPC does not answer yet (it answers once the node has loaded): the "
                "service asks it to stop as soon as it does.");
            waiting_for_rpc_told_ = true;
        }
        return;
    }
    stop_was_asked_ = ask_node_to_stop(engine_, daemon, "The service's stop").ok();
}

ServiceView ServiceGuard::view() {
    const GuardedProgram& daemon = engine_.guardian.daemon;
    const GuardianSnapshot shown = guardian_snapshot(engine_, engine_.services.clock.now_ms());
    return {daemon.node.id(), daemon.seen.running(), wallets_offered_, shown.daemon.tip, {}};
}

// As the window's Stop Node: Keep Node Running leaves a stop that was asked.
std::string ServiceGuard::stop_node_asked() {
    GuardedProgram& daemon = engine_.guardian.daemon;
    if (!daemon.node.life.runs()) {
        return "The service's node does not run.";
    }
    if (!daemon.node.rpc().answers()) {
        return "The node's RPC does not answer yet (it answers once the node has loaded), and "
               "the service's node has no console: try again in a moment.";
    }
    cancel_the_countdown(engine_);
    const Outcome asked = ask_node_to_stop(engine_, daemon, "Stop Node");
    return asked ? "The service asked the node to stop over its RPC; it is left stopped."
                 : asked.reason();
}

// As the window's tick handlers: each feature whose tick changed is told.
void ServiceGuard::tick_changed() {
    const auto ticks_were = ticks_;
    const bool keep_node_was = keep_node_running_;
    read_settings();
    if (keep_node_was != keep_node_running_) {
        carry_out(engine_, keep_running_switched(engine_.guardian.node_keeper, keep_node_running_));
    }
    const auto changed = [&](GuardTick tick) {
        const auto at = static_cast<std::size_t>(tick);
        return ticks_were[at] != ticks_[at];
    };
    if (changed(GuardTick::battery_stop)) {
        battery_stop_tick_changed(engine_);
    }
    if (changed(GuardTick::metered_pause)) {
        metered_pause_tick_changed(engine_);
    }
    if (changed(GuardTick::low_priority)) {
        low_priority_tick_changed(engine_);
    }
    if (changed(GuardTick::keep_awake)) {
        keep_awake_tick_changed(engine_);
    }
}

void ServiceGuard::back_up_wallets() {
    back_up_wallets_clicked(engine_);
}

void ServiceGuard::hand_back_asked() {
    if (ended_) {
        return;
    }
    end("The service handed " + engine_.guardian.daemon.described() +
        " back to the window and ended; the node runs on.");
}

void ServiceGuard::end(std::string_view how) {
    let_the_pc_sleep(engine_);
    metered_closing(engine_);
    engine_.services.history.record(how);
    ended_ = true;
    status_.stopped(0);
}

void ServiceGuard::power_event(const PowerEvent& event) {
    if (!ended_ && !stopping_) {
        power_broadcast(engine_, event);
    }
}

void ServiceGuard::resumed() {
    if (!ended_) {
        power_resumed(engine_);
    }
}

}  // namespace zvkob
