#include "guardian/flows/stop_node.hpp"

#include "core/node_rpc/node_rpc_asker.hpp"
#include "core/power/power_words.hpp"
#include "core/time_text.hpp"
#include "guardian/flows/guard_actions_done.hpp"
#include "guardian/flows/neighbour_events.hpp"
#include "guardian/flows/node_state_now.hpp"

namespace zvkob {
namespace {

constexpr std::chrono::milliseconds still_running_after = std::chrono::minutes(1);

// A node that runs without being this copy's: another copy's on this copy's
// data folder, another user's, or one started by hand or another copy's that
// Windows hides the command line of.
std::string no_node_of_this_copy(const GuardedProgram& program) {
    const auto namesake = program.node.counting_namesake();
    const std::string running =
        "The running " + program.image +
        (namesake ? " (process " + std::to_string(namesake->first) + ")" : std::string());
    const Belonging belonging = namesake ? namesake->second.belonging : Belonging::counts;
    if (belonging == Belonging::held_here) {
        return running +
               " is the node of another copy of ZV-KOB, set to this copy's data folder, so this "
               "copy stops nothing: stop it from that copy. Two copies set to one data folder "
               "guard one node; give each copy its own BLOCKCHAIN FOLDER.";
    }
    if (belonging == Belonging::not_this_users) {
        return running + " is not this copy's node: " + namesake->second.why +
               ". ZV-KOB stops nothing; it is stopped where it was started.";
    }
    return "ZV-KOB did not start the running " + program.image +
           " and cannot match it to this copy's data folder, so it stops nothing rather than "
           "another copy's node. Stop it yourself, in its own window.";
}

// A stop the user or Windows asked for is not undone by a countdown that
// runs or overruns: it ends as STOP ends it.
void end_the_countdown(GuardianEngine& g, std::string_view asker) {
    if (!g.host.countdown_runs()) {
        return;
    }
    cancel_the_countdown(g);
    g.services.history.record(std::string(asker) +
                              " ended the countdown, so that it does not start the node "
                              "again.");
}

void tell_still_running(GuardianEngine& g, GuardedProgram& program) {
    const NodeLife& life = program.node.life;
    if (life.stage() != NodeStage::asked_to_stop || life.stop_request()->overdue_told) {
        return;  // it stopped, or was told about, while a message box was open
    }
    program.node.life.on(NodeEvent::stop_overdue, g.services.clock.now_ms());
    const std::string which = program.described();
    g.services.history.record(which + " still runs a minute after it was asked to stop.");
    g.host.tell_user(
        "ZV-KOB asked " + which + " to stop a minute ago, and it still runs.\n\n" +
        (program.runs_in_console
             ? std::string("A node with a large cache can take minutes to write it to "
                           "disk. ZV-KOB never kills the node; let it finish.")
             : std::string("The wallet program may be set to minimise to the "
                           "notification area when its window closes: quit it from its "
                           "own menu. ZV-KOB never kills it.")) +
        "\n\nStop Node asks it again.");
}

// Where the node's RPC does not answer: Ctrl+C on the console of the DAEMON
// program, a close to the windows of the QT program.
Outcome ask_by_hand(GuardianEngine& g, const GuardedProgram& program) {
    const unsigned long id = program.node.id();
    return program.runs_in_console ? g.services.nodes.press_ctrl_c(id, program.node.interpreter())
                                   : g.services.nodes.close_windows(id);
}

// Once the node is asked to stop: the node's life keeps that Ctrl+C went, as
// it leaves the batch file's interpreter waiting.
void asked_by_hand(GuardianEngine& g, GuardedProgram& program) {
    if (program.runs_in_console) {
        program.node.life.on(NodeEvent::ctrl_c_pressed, g.services.clock.now_ms());
    }
}

const char* by_hand_text(const GuardedProgram& program) {
    return program.runs_in_console ? " with Ctrl+C on its console" : ", closing its windows";
}

// The node is asked to stop from now on; the history's words for a request
// made again ("" the first time).
std::string stop_under_way(GuardianEngine& g, GuardedProgram& program) {
    const bool again = program.node.life.stage() == NodeStage::asked_to_stop;
    const std::string first =
        again ? " again; it was first " + asked_text(program.node.life, g.services.clock.now_ms())
              : std::string();
    program.node.life.on(NodeEvent::stop_asked, g.services.clock.now_ms());
    return first;
}

// The node did not take the stop over its RPC (the worker recorded why): it
// is asked the other way, if it still runs and nobody asked otherwise meanwhile.
void rpc_stop_answered(GuardianEngine& g, GuardedProgram& program, unsigned long id,
                       const std::string& asker, const std::string& refusal) {
    if (refusal.empty() || program.node.id() != id ||
        program.node.life.stage() != NodeStage::asked_to_stop) {
        return;
    }
    const std::string which = program.described();
    const Outcome asked = ask_by_hand(g, program);
    if (asked) {
        asked_by_hand(g, program);
    }
    g.services.history.record(
        asked ? asker + " asked " + which + " to stop" + by_hand_text(program) + " instead."
              : asker + " could not ask " + which + " to stop otherwise: " + asked.reason());
    if (asked) {
        return;
    }
    program.node.life.on(NodeEvent::stop_refused, g.services.clock.now_ms());
    // Who is told: the battery stop, which nobody may be watching, by a
    // notice (and it asks again); nobody as the session ends; the user by a box.
    if (asker == battery_stop_asker) {
        battery_stop_failed(g);
    } else if (!g.guardian.sign_out.ending()) {
        g.host.tell_user("ZV-KOB could not ask " + which + " to stop.\n\nIts RPC: " + refusal +
                         "\n\n" + asked.reason());
    }
}

// What became of a stop over the node's RPC, in the history. A stop that
// went out counts as asked, answered or not: the node may be stopping, and
// the watcher sees it go. Only one it cannot have acted on (nothing sent, or
// its own refusal) is refused, and then asked another way.
std::string rpc_stop_event(const std::string& asked, const std::string& which,
                           const std::string& asker, const RpcReply& reply) {
    if (reply.ok()) {
        return asked + ".";
    }
    if (reply.may_have_been_acted_on()) {
        return asked + "; " + reply.describe() + ".";
    }
    return asker + " could not ask " + which + " to stop over its RPC: " + reply.describe() + ".";
}

// On a lane of its own, where the node answered last; never sent twice. The
// history is written on the worker as soon as the answer is known, so that
// a ZV-KOB closed meanwhile still says what reached the node; a stop that
// never went because ZV-KOB closed first is said not to have been sent.
void ask_over_rpc(GuardianEngine& g, GuardedProgram& program, const std::string& asker,
                  const std::string& again) {
    const unsigned long id = program.node.id();
    const std::string which = program.described();
    program.node.rpc().stop_sent();
    run_in_background<std::string>(
        g.services.background,
        [endpoint = program.node.rpc().endpoint(), id, &http = g.services.http,
         &listeners = g.services.listeners, &files = g.services.files,
         &history = g.services.history,
         asked = asker + " asked " + which + " to stop over its RPC" + again, which, asker] {
            NodeRpcAsker rpc(http, listeners, files);
            const RpcReply reply = rpc.stop(endpoint, id);
            history.record(rpc_stop_event(asked, which, asker, reply));
            return reply.may_have_been_acted_on() ? std::string() : reply.describe();
        },
        [&g, &program, id, asker](const std::string& refusal) {
            rpc_stop_answered(g, program, id, asker, refusal);
            g.host.show_guardian_state();
        },
        g.lifetime, Lane::node_stop,
        [&history = g.services.history, which, asker] {
            history.record(asker + " did not send the stop to " + which +
                           " over its RPC: ZV-KOB closed before it went.");
        });
}

}  // namespace

Outcome ask_node_to_stop(GuardianEngine& g, GuardedProgram& program, std::string_view asker) {
    if (!program.node.life.runs()) {
        g.services.history.record(std::string(asker) + " did not stop the " +
                                  std::string(program.name) +
                                  " program: this copy has no node of it running.");
        return Outcome::failure(no_node_of_this_copy(program));
    }
    const std::string which = program.described();
    if (program.node.rpc().answers()) {
        ask_over_rpc(g, program, std::string(asker), stop_under_way(g, program));
        end_the_countdown(g, asker);
        return Outcome::success();
    }
    if (const Outcome asked = ask_by_hand(g, program); !asked) {
        g.services.history.record(std::string(asker) + " could not ask " + which +
                                  " to stop: " + asked.reason());
        return Outcome::failure("ZV-KOB could not ask " + which + " to stop.\n\n" + asked.reason());
    }
    const std::string again = stop_under_way(g, program);
    asked_by_hand(g, program);
    g.services.history.record(std::string(asker) + " asked " + which + " to stop" +
                              by_hand_text(program) + again + ".");
    end_the_countdown(g, asker);
    return Outcome::success();
}

void stop_node_clicked(GuardianEngine& g) {
    GuardedProgram* program = running_node_program(g);
    if (program == nullptr) {
        const bool one_runs = g.guardian.qt.seen.running() || g.guardian.daemon.seen.running();
        g.host.tell_user(
            one_runs ? no_node_of_this_copy(g.guardian.daemon.seen.running() ? g.guardian.daemon
                                                                             : g.guardian.qt)
                     : std::string("No node program of this copy runs: there is nothing to "
                                   "stop."));
        return;
    }
    // The user wants it stopped, also while a stop of the battery's is under
    // way: mains power must not start it again (neighbour_events.hpp).
    g.guardian.battery.user_chose();
    const NodeLife& life = program->node.life;
    if (life.stage() == NodeStage::asked_to_stop && !program->runs_in_console &&
        !program->node.rpc().was_sent_stop() &&
        !g.services.nodes.shows_a_window(program->node.id())) {
        g.host.tell_user(
            "The " + std::string(program->name) + " program hid its windows when it was " +
            asked_text(life, g.services.clock.now_ms()) +
            " to close them: it runs in the notification area, beside the clock. Quit it "
            "there: right-click its icon and choose Exit. ZV-KOB never kills it.");
        return;
    }
    if (life.stage() == NodeStage::asked_to_stop && !life.stop_request()->overdue_told) {
        g.host.tell_user("The " + std::string(program->name) + " program was " +
                         asked_text(life, g.services.clock.now_ms()) +
                         " to stop and is stopping. ZV-KOB waits; it never kills the node.");
        return;
    }
    if (const Outcome asked = ask_node_to_stop(g, *program, "Stop Node"); !asked) {
        g.host.tell_user(asked.reason());
    }
    g.host.show_guardian_state();
}

void follow_node_stops(GuardianEngine& g) {
    const std::int64_t now = g.services.clock.now_ms();
    for (GuardedProgram* program : g.programs()) {
        const NodeLife& life = program->node.life;
        if (life.stage() != NodeStage::asked_to_stop || life.stop_request()->overdue_told ||
            std::chrono::milliseconds(now - life.stop_request()->last_ms) < still_running_after ||
            g.guardian.sign_out.held_since_ms()) {
            continue;
        }
        // A message: it waits for a box that is open, and looks again then.
        g.services.events.run_when_free(&program->node.life,
                                        [&g, program] { tell_still_running(g, *program); });
    }
}

}  // namespace zvkob
