#include "main_window/event_order.hpp"

#include "guardian/flows/background_checks.hpp"
#include "main_window/starting/countdown_events.hpp"
#include "main_window/in_notification_area.hpp"
#include "guardian/node/node_log.hpp"
#include "guardian/keep_node_running.hpp"
#include "core/node_log/node_log_line.hpp"
#include "guardian/flows/failed_start.hpp"
#include "main_window/starting/launcher.hpp"
#include "guardian/engine/care_meeting.hpp"
#include "guardian/engine/node_gone_meeting.hpp"
#include "guardian/flows/antivirus_hint_events.hpp"
#include "guardian/flows/guard_actions_done.hpp"
#include "guardian/flows/node_glance_events.hpp"
#include "guardian/flows/metered_events.hpp"
#include "guardian/flows/neighbour_events.hpp"
#include "guardian/flows/node_care.hpp"
#include "guardian/flows/process_watcher.hpp"
#include "main_window/session_end_events.hpp"
#include "main_window/shown_state.hpp"
#include "guardian/flows/start_rule.hpp"
#include "guardian/flows/stop_node.hpp"
#include "main_window/window_menu.hpp"

namespace zvkob {
namespace {

// What the node-gone meeting (guardian/engine/node_gone_meeting.hpp) sees.
NodeGoneScene gone_scene(const MainWindow& w, const NodeProgram& program) {
    return {.chosen = program.chosen.ticked(),
            .stage = program.node.life.stage(),
            .since_ms = program.node.life.since_ms(),
            .cause = program.node.life.cause(),
            .session_ending = w.guardian.sign_out.ending(),
            .closing = w.closing.closing()};
}

// A restart waits while the session ends or the node runs or stops already.
std::optional<std::string> restart_held_back(MainWindow& w, const NodeProgram& program) {
    const StartAnswer answer = may_start_now(w.engine, program.guarded);
    if (answer.refusal == StartRefusal::session_ending ||
        answer.refusal == StartRefusal::node_runs ||
        answer.refusal == StartRefusal::node_stopping) {
        return answer.reason;
    }
    return std::nullopt;
}

void decide_on(MainWindow& w, NodeProgram& program, const NodeGone& gone, std::int64_t stopped_ms,
               const NodeStop& stop) {
    if (!still_to_decide(w.guardian, gone_scene(w, program), stopped_ms)) {
        return;  // it runs again, or the tick was cleared, while the log was read
    }
    program.node.life.on(NodeEvent::verdict, w.services.clock.now_ms(), cause_of(stop));
    if (stop.how == HowItStopped::after_error && !stop.fatal_line.empty()) {
        program.node.note_error_end(std::string(read_log_line(stop.fatal_line).message) + "\n" +
                                    stop.hint);
    }
    const GoneNode node{program.described(), gone.ran_ms,
                        program.node.started_by() == StartRequest::keep_node_running};
    carry_out(w.engine, keep_running_decision(w.guardian.node_keeper, node, stop, [&w, &program] {
                  return restart_held_back(w, program);
              }));
}

// The node's log is read by the worker: it may sit on a slow drive.
void decide(MainWindow& w, NodeProgram& program, const NodeGone& gone, std::int64_t stopped_ms) {
    const NodeGoneScene scene = gone_scene(w, program);
    if (!still_to_decide(w.guardian, scene, stopped_ms)) {
        return;
    }
    if (const char* why = stopped_by_others(scene)) {
        w.guardian.node_keeper.leave_alone(program.described(), why);
        return;
    }
    const std::int64_t ended_ms = gone.end ? gone.end->at_ms : w.services.clock.now_ms();
    const StoppedNode node{program.node.started_with(), w.data_folder, ended_ms - gone.ran_ms,
                           gone.end ? std::optional(gone.end->exit_code) : std::nullopt};
    check_in_background<NodeStop>(
        w.engine, "the node's log",
        [&files = w.services.files, node] { return how_the_node_stopped(files, node); },
        [&w, &program, gone, stopped_ms](const NodeStop& stop) {
            decide_on(w, program, gone, stopped_ms, stop);
        });
}

// Auto Close follows the starts the user set up (START, Auto Start), never
// the guardian's own (Keep Node Running's restart, the mains restart): ZV-KOB
// must stay open to guard the next crash or outage. This goes beyond Keep
// Node Running's hold, which holds only while that tick is on.
bool auto_close_follows(StartRequest requester) {
    return requester == StartRequest::countdown;
}

void watch_the_programs(MainWindow& w) {
    if (const auto away = w.guardian.glance.wake_watch().tick(w.services.clock.now_ms())) {
        pc_woke(w.engine, *away);  // before the node is asked, so that it is asked at once
    }
    for (NodeProgram* program : w.programs()) {
        const ProgramWatched watched = watch_program(w.engine, program->guarded);
        if (watched.answered) {
            program->status.show(program->guarded.seen.running());
        }
        if (watched.gone) {
            this_copys_node_gone(w, *program, *watched.gone);
        }
    }
    w.launch_button.set_enabled(!w.qt.status.running() && !w.daemon.status.running());
    note_query(w.engine);
    ask_the_node_when_due(w.engine);
    follow_node_stops(w.engine);
    end_the_hold_when_due(w);
    // The watcher only reads, so its labels stay live beside a message box;
    // what it does beyond reading (the battery stop, which stops and starts
    // the node, its priority, the metered pause) waits for the box.
    w.services.events.act_when_free(&w.guardian.battery, [&w] {
        one_look(w, [&w] {
            neighbour_tick(w.engine);
            metered_tick(w.engine);
        });
    });
    show_state(w);
}

}  // namespace

void process_watcher_tick(MainWindow& w) {
    one_look(w, [&w] { watch_the_programs(w); });
}

void pc_resumed(MainWindow& w) {
    if (const auto away = w.guardian.glance.wake_watch().power_resumed(w.services.clock.now_ms())) {
        pc_woke(w.engine, *away);
        ask_the_node_when_due(w.engine);
    }
}

void this_copys_node_gone(MainWindow& w, NodeProgram& program, const NodeGone& gone) {
    end_left_interpreter(w.engine, program.guarded, gone);
    power_node_gone(w.engine, program.guarded);
    // Keep Node Running reads the log of every stop; without it, one right
    // after a start of this copy's is read too, since it may tell why.
    if (explain_as_failed_start(w.guardian, gone_scene(w, program), gone)) {
        const std::int64_t ended_ms = gone.end ? gone.end->at_ms : w.services.clock.now_ms();
        explain_failed_start(w.engine, program.guarded,
                             {program.node.started_with(), w.data_folder, ended_ms - gone.ran_ms,
                              gone.end ? std::optional(gone.end->exit_code) : std::nullopt},
                             "");
    }
    // The decision acts (it may arm the countdown or show a message), so it
    // waits for a message box that is open to close; each stop waits on its
    // own, and only the node's latest stop is decided (still_to_decide).
    const std::int64_t stopped_ms = program.node.life.since_ms();
    auto key = std::make_shared<char>();
    w.services.events.run_when_free(key.get(), [key, &w, &program, gone, stopped_ms] {
        decide(w, program, gone, stopped_ms);
        show_state(w);
    });
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
    w.guardian.node_keeper.countdown_stopped();
    disarm_countdown(w);
}

}  // namespace zvkob
