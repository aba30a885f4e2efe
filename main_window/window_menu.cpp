#include "main_window/window_menu.hpp"

#include "core/power/power_words.hpp"
#include "core/time_text.hpp"
#include "guardian/flows/guardian_snapshot.hpp"
#include "guardian/flows/metered_events.hpp"
#include "guardian/flows/neighbour_events.hpp"
#include "guardian/flows/node_care.hpp"
#include "guardian/flows/node_glance_events.hpp"
#include "guardian/flows/node_state_now.hpp"
#include "guardian/flows/report_events.hpp"
#include "guardian/flows/stop_node.hpp"
#include "guardian/flows/wallet_backup_events.hpp"
#include "main_window/before_sign_in.hpp"
#include "main_window/beside_the_service.hpp"
#include "main_window/main_window_layout.hpp"
#include "main_window/shown_state.hpp"

namespace zvkob {
namespace {

// The node that runs, else the one chosen, else the background node.
const NodeProgram& reported_program(MainWindow& w) {
    if (const GuardedProgram* running = running_node_program(w.engine)) {
        return w.program_of(*running);
    }
    return w.qt.chosen.ticked() ? w.qt : w.daemon;
}

std::string caption_of(const MenuItem& item) {
    std::string caption(item.design().caption);
    std::erase(caption, '&');
    return caption;
}

HelpReportFacts facts_of(MainWindow& w, const NodeProgram& program) {
    const std::int64_t now_ms = w.services.clock.now_ms();
    const GuardianSnapshot guardian = guardian_snapshot(w.engine, now_ms);
    std::string described = program.described();
    described[0] = 'T';  // "The DAEMON program (...)"
    HelpReportFacts facts{.made_at = iso_local_time(local_time_at(
                              now_ms, w.services.clock.utc_offset_minutes_at(now_ms))),
                          .program = described,
                          .node_runs = program.node.life.runs(),
                          .node_state = &program == &w.qt ? guardian.qt.tip : guardian.daemon.tip,
                          .data_folder_set = !w.data_folder.empty(),
                          .wallets = program.node.rpc().wallets(),
                          .now_ms = now_ms};
    for (const Tickbox* tick :
         {&w.qt.chosen, &w.daemon.chosen, &w.auto_start, &w.auto_close, &w.always_on_top}) {
        facts.ticks.emplace_back(tick->text(), tick->ticked());
    }
    for (const MenuItem* tick :
         {&w.keep_node_running, &w.safe_sign_out, &w.check_data_drive, &w.start_with_windows,
          &w.before_sign_in, &w.show_progress, &w.show_in_notification_area, &w.keep_awake, &w.battery_stop,
          &w.metered_pause, &w.low_priority}) {
        facts.ticks.emplace_back(caption_of(*tick), tick->ticked());
    }
    return facts;
}

}  // namespace

void switch_tick(MainWindow& w, MenuItem& tick, const StoredSetting& setting,
                 const std::string& name) {
    tick.set_ticked(!tick.ticked());
    store_choice(w, setting, tick.ticked());
    w.services.history.record(name + (tick.ticked() ? " switched on." : " switched off."));
}

// At once, so that a ZV-KOB that is later killed keeps the choice.
void store_choice(MainWindow& w, const StoredSetting& setting, bool ticked) {
    if (const Outcome saved = w.services.store.save(setting.key, ticked ? "1" : "0"); !saved) {
        tell(w, "ZV-KOB could not save this setting: " + std::string(setting.key) + ".\n\n" +
                    saved.reason() + "\n\nIt is tried again when ZV-KOB closes.");
        return;
    }
    tell_the_service(w, setting);  // the service that guards the node follows it
}

void window_menu_opening(MainWindow& w) {
    w.start_with_windows.set_ticked(w.services.startup.registered());
    before_sign_in_shown(w);
}

void start_with_windows_clicked(MainWindow& w) {
    StartupEntry& startup = w.services.startup;
    const bool on = !startup.registered();
    const Outcome changed = on ? startup.add() : startup.remove();
    w.start_with_windows.set_ticked(startup.registered());
    if (!changed) {
        w.services.history.record("Start With Windows could not be switched " +
                                  std::string(on ? "on" : "off") + ": " + changed.reason());
        w.services.notifier.show_error(
            std::string("ZV-KOB could not ") + (on ? "add itself to" : "remove itself from") +
            " the programs Windows starts at sign-in.\n\n" + changed.reason());
        return;
    }
    w.services.history.record(on ? "Start With Windows switched on."
                                 : "Start With Windows switched off.");
}

void safe_sign_out_clicked(MainWindow& w) {
    switch_tick(w, w.safe_sign_out, stored::safe_sign_out, "Stop Node Safely at Sign-out");
}

void check_data_drive_clicked(MainWindow& w) {
    switch_tick(w, w.check_data_drive, stored::check_data_drive,
                "Check the Data Drive Before a Start");
}

void history_clicked(MainWindow& w) {
    History& history = w.services.history;
    if (const auto failure = history.failure()) {
        w.services.notifier.show_error("ZV-KOB cannot write its history to " + history.path() +
                                       ".\n\n" + *failure +
                                       "\n\nZV-KOB goes on working; it tries again at the next "
                                       "event.");
        return;
    }
    if (const Outcome opened = history.open(); !opened) {
        w.services.notifier.show_error("ZV-KOB could not open its history, " + history.path() +
                                       ".\n\n" + opened.reason());
    }
}

void show_progress_clicked(MainWindow& w) {
    switch_tick(w, w.show_progress, stored::node_progress, "Show the Node's Progress");
    show_progress_tick_changed(w.engine);
}

void keep_awake_clicked(MainWindow& w) {
    switch_tick(w, w.keep_awake, stored::keep_awake, "Keep the PC Awake While Catching Up");
    keep_awake_tick_changed(w.engine);
}

void battery_stop_clicked(MainWindow& w) {
    switch_tick(w, w.battery_stop, stored::battery_stop, battery_stop_asker);
    battery_stop_tick_changed(w.engine);
}

void metered_pause_clicked(MainWindow& w) {
    switch_tick(w, w.metered_pause, stored::metered_pause,
                "Pause the Node's Network on Metered Links");
    metered_pause_tick_changed(w.engine);
}

void low_priority_clicked(MainWindow& w) {
    switch_tick(w, w.low_priority, stored::node_low_priority, "Run the Node at Low Priority");
    low_priority_tick_changed(w.engine);
}

void stop_node_clicked(MainWindow& w) {
    if (service_guards(w)) {
        stop_node_by_the_service(w);
        return;
    }
    stop_node_clicked(w.engine);
}

void back_up_wallets_clicked(MainWindow& w) {
    if (service_guards(w)) {
        back_up_wallets_by_the_service(w);
        return;
    }
    back_up_wallets_clicked(w.engine);
}

void copy_report_clicked(MainWindow& w) {
    const NodeProgram& program = reported_program(w);
    copy_report(w.engine, program.guarded, facts_of(w, program));
}

}  // namespace zvkob
