#include "main_window/stop_node.hpp"

#include "core/time_text.hpp"
#include "main_window/node_of_this_copy.hpp"

namespace zvkob {
namespace {

constexpr std::int64_t still_running_after_ms = 60'000;

void record(MainWindow& w, const std::string& event) {
    w.services.history.record(event);
}

// "DAEMON program (bitcoind.exe, process 4711)"
std::string program_text(const NodeProgram& program, unsigned long process_id) {
    return std::string(program.name) + " program (" + program.image + ", process " +
           std::to_string(process_id) + ")";
}

constexpr char stopping_display[] = "stop";

// The display says "stop" while the countdown does not use it, and the
// tooltips say how long ago the node was asked.
void show_stopping(MainWindow& w, MainWindow::NodeStopping& s, const std::string& asked) {
    const std::string tip = "Stopping: asked " + asked + ". ZV-KOB waits; it never kills the node.";
    w.countdown_display.set_tooltip(tip);
    s.program->status.label().set_tooltip(tip);
    if (!w.countdown_timer.enabled() && w.countdown_display.text() != stopping_display) {
        s.display_before = w.countdown_display.text();
        w.countdown_display.set_text(stopping_display);
    }
}

// What the display and tooltips showed before.
void show_stopped(MainWindow& w, const MainWindow::NodeStopping& s) {
    w.countdown_display.set_tooltip("");
    s.program->status.label().set_tooltip("");
    if (w.countdown_display.text() == stopping_display) {
        w.countdown_display.set_text(s.display_before);
    }
}

void tell_still_running(MainWindow& w, MainWindow::NodeStopping& s) {
    s.told_still_running = true;
    const std::string which = "the " + program_text(*s.program, s.process_id);
    record(w, which + " still runs a minute after it was asked to stop.");
    w.services.notifier.show_error(
        "ZV-KOB asked " + which + " to stop a minute ago, and it still runs.\n\n" +
        (s.program->runs_in_console
             ? std::string("A node with a large cache can take minutes to write it to disk. "
                           "ZV-KOB never kills the node; let it finish.")
             : std::string("The wallet program may be set to minimise to the notification area "
                           "when its window closes: quit it from its own menu. ZV-KOB never "
                           "kills it.")));
}

}  // namespace

NodeProgram* running_node_program(MainWindow& w) {
    for (NodeProgram* program : w.programs()) {
        if (program->chosen.ticked() && program->status.running()) {
            return program;
        }
    }
    for (NodeProgram* program : w.programs()) {
        if (program->status.running()) {
            return program;
        }
    }
    return nullptr;
}

Outcome ask_node_to_stop(MainWindow& w, NodeProgram& program, std::string_view asker) {
    const ProcessList list = w.services.nodes.processes_named(program.image);
    if (!list.failure.empty()) {
        return Outcome::failure("ZV-KOB cannot list the running programs: " + list.failure);
    }
    std::optional<unsigned long> interpreter;
    if (program.started && !program.started->exit_code()) {
        interpreter = program.started->id();
    }
    const NodeIdentity node =
        node_of_this_copy(list.processes, interpreter, w.data_folder, program.image);
    if (!node.why_not.empty()) {
        record(w, std::string(asker) + " did not stop the " + std::string(program.name) +
                      " program: " + node.why_not);
        return Outcome::failure(node.why_not);
    }
    const std::string which = "the " + program_text(program, node.id);
    const Outcome asked = program.runs_in_console ? w.services.nodes.press_ctrl_c(node.id)
                                                  : w.services.nodes.close_windows(node.id);
    if (!asked) {
        record(w, std::string(asker) + " could not ask " + which + " to stop: " + asked.reason());
        return Outcome::failure("ZV-KOB could not ask " + which + " to stop.\n\n" + asked.reason());
    }
    program.stop_requested = true;
    w.stopping = MainWindow::NodeStopping{&program, node.id, w.services.clock.now_ms()};
    record(w, std::string(asker) + " asked " + which + " to stop" +
                  (program.runs_in_console ? " with Ctrl+C on its console."
                                           : ", closing its windows."));
    show_stopping(w, *w.stopping, "just now");
    return Outcome::success();
}

void stop_node_clicked(MainWindow& w) {
    if (w.stopping) {
        w.services.notifier.show_error(
            "The " + std::string(w.stopping->program->name) + " program was asked to stop " +
            duration_text(w.services.clock.now_ms() - w.stopping->asked_ms) +
            " ago and is stopping. ZV-KOB waits; it never kills the node.");
        return;
    }
    NodeProgram* program = running_node_program(w);
    if (program == nullptr) {
        w.services.notifier.show_error(
            "No node program of this copy runs: there is nothing to "
            "stop.");
        return;
    }
    if (const Outcome asked = ask_node_to_stop(w, *program, "Stop Node"); !asked) {
        w.services.notifier.show_error(asked.reason());
    }
}

void follow_node_stop(MainWindow& w) {
    if (w.stopping) {
        MainWindow::NodeStopping& s = *w.stopping;
        const std::int64_t elapsed = w.services.clock.now_ms() - s.asked_ms;
        if (s.program->status.stopped()) {
            record(w, "The " + program_text(*s.program, s.process_id) + " stopped " +
                          duration_text(elapsed) + " after it was asked to.");
            show_stopped(w, s);
            w.stopping.reset();
        } else {
            show_stopping(w, s, duration_text(elapsed) + " ago");
            if (elapsed >= still_running_after_ms && !s.told_still_running &&
                !w.session_held_since_ms) {
                tell_still_running(w, s);
            }
        }
    }
}

}  // namespace zvkob
