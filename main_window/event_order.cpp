#include "main_window/event_order.hpp"

#include "main_window/before_sign_in.hpp"
#include "main_window/beside_the_service.hpp"

#include "guardian/flows/guardian_ticks.hpp"
#include "guardian/flows/node_gone_events.hpp"

#include "guardian/flows/process_watcher.hpp"
#include "main_window/starting/countdown_events.hpp"
#include "main_window/in_notification_area.hpp"
#include "guardian/keep_node_running.hpp"
#include "main_window/starting/launcher.hpp"
#include "guardian/engine/care_meeting.hpp"
#include "guardian/engine/node_gone_meeting.hpp"
#include "guardian/flows/antivirus_hint_events.hpp"
#include "guardian/flows/guard_actions_done.hpp"
#include "guardian/flows/node_glance_events.hpp"
#include "guardian/flows/metered_events.hpp"
#include "guardian/flows/neighbour_events.hpp"
#include "guardian/flows/node_care.hpp"
#include "main_window/session_end_events.hpp"
#include "main_window/shown_state.hpp"
#include "guardian/flows/starting/start_rule.hpp"
#include "guardian/flows/stop_node.hpp"
#include "main_window/window_menu.hpp"

namespace zvkob {
namespace {

// Auto Close follows the starts the user set up (START, Auto Start), never
// the guardian's own (Keep Node Running's restart, the mains restart): ZV-KOB
// must stay open to guard the next crash or outage. This goes beyond Keep
// Node Running's hold, which holds only while that tick is on.
bool auto_close_follows(StartRequest requester) {
    return requester == StartRequest::countdown;
}

void watch_the_programs(MainWindow& w) {
    watcher_tick_begins(w.engine);
    for (NodeProgram* program : w.programs()) {
        const ProgramWatched watched = watch_program(w.engine, program->guarded);
        if (watched.answered) {
            program->status.show(program->guarded.seen.running());
        }
        if (watched.gone) {
            this_copys_node_gone(w.engine, program->guarded, *watched.gone);
        }
    }
    w.launch_button.set_enabled(!w.qt.status.running() && !w.daemon.status.running());
    watcher_tick_reads(w.engine);
    end_the_hold_when_due(w);
    // The watcher only reads, so its labels stay live beside a message box;
    // what the guardian does beyond reading waits for the box.
    w.services.events.act_when_free(&w.guardian.battery,
                                    [&w] { one_look(w, [&w] { watcher_tick_acts(w.engine); }); });
    show_state(w);
}

}  // namespace

void process_watcher_tick(MainWindow& w) {
    if (!w.service_looked_at) {  // once, at the first look after the window opened
        w.service_looked_at = true;
        w.services.events.act_when_free(&w.service_looked_at,
                                        [&w] { tell_what_became_of_the_service(w); });
    }
    if (follow_the_service(w)) {
        show_state(w);
        return;  // the service guards the node: the window only shows it
    }
    one_look(w, [&w] { watch_the_programs(w); });
}

void pc_resumed(MainWindow& w) {
    power_resumed(w.engine);
}

void keep_node_running_clicked(MainWindow& w) {
    const bool on = !w.keep_node_running.ticked();
    w.keep_node_running.set_ticked(on);
    store_choice(w, stored::keep_node_running, on);
    carry_out(w.engine, keep_running_switched(w.guardian.node_keeper, on));
    show_state(w);
}

void start_stop_click(MainWindow& w) {
    if (!w.qt.chosen.ticked() && !w.daemon.chosen.ticked()) {
        settle_with_nothing_chosen(w);
    } else if (w.start_stop_button.text() == "STOP") {
        countdown_cancelled(w);
    } else {
        users_start(w.guardian);
        arm_countdown(w, std::chrono::milliseconds(0), StartRequest::countdown);
    }
    show_state(w);
}

// The progress timer only reads too; the care features act (they hold the
// PC awake, give notices, offer a backup), so they wait for a message box.
void node_progress_second(MainWindow& w) {
    if (service_guards(w)) {
        return;
    }
    one_look(w, [&w] {
        node_progress_tick(w.engine);
        w.services.events.act_when_free(&w.guardian.pc_awake,
                                        [&w] { one_look(w, [&w] { care_tick(w.engine); }); });
        antivirus_hint_tick(w.engine);
    });
}

void launch_by_hand(MainWindow& w, NodeProgram& program, const DriveCheck& drive) {
    if (!launch_allowed(w, program, drive)) {
        return;
    }
    users_start(w.guardian);
    if (launch_step(w, program, StartRequest::launch, colours::cyan, colours::pink) !=
        LaunchResult::not_allowed) {
        w.countdown_timer.set_enabled(false);
    }
}

void countdown_starts(MainWindow& w, NodeProgram& program) {
    const StartRequest requester = w.countdown.for_whom();
    switch (launch_step(w, program, requester, colours::yellow, colours::green)) {
        case LaunchResult::started:
            w.guardian.node_keeper.automatic_start(w.auto_close.ticked());
            if (auto_close_follows(requester)) {
                w.auto_close_timer.set_enabled(true);
            }
            w.countdown_timer.set_enabled(false);
            break;
        case LaunchResult::failed:
            w.countdown_timer.set_enabled(false);
            break;
        case LaunchResult::not_allowed:
            break;  // the countdown runs on, should the session go on after all
    }
}

void countdown_cancelled(MainWindow& w) {
    cancel_the_countdown(w.engine);
}

}  // namespace zvkob
