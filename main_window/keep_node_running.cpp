#include "main_window/keep_node_running.hpp"

#include <algorithm>
#include <array>
#include <string>

#include "core/time_text.hpp"
#include "main_window/countdown.hpp"
#include "main_window/node_log.hpp"

namespace zvkob {
namespace {

constexpr std::int64_t minute_ms = 60 * 1000;
constexpr std::int64_t short_run_ms = 5 * minute_ms;
constexpr std::int64_t restart_window_ms = 60 * minute_ms;
constexpr std::size_t restarts_per_hour = 5;
constexpr char held_tip[] =
    "Keep Node Running is on: ZV-KOB stays open after an automatic start, to start the node "
    "again should it stop.";

void record(MainWindow& w, const std::string& event) {
    w.services.history.record("Keep Node Running: " + event);
}

std::string program_text(const NodeProgram& program) {
    return "the " + std::string(program.name) + " program (" + program.image + ")";
}

// Stops that are not the node's own doing, or that ZV-KOB itself caused.
bool left_alone(MainWindow& w, NodeProgram& program) {
    const char* why = program.stop_requested ? "as ZV-KOB asked it to"
                      : w.session_ending     ? "while Windows ends the session"
                      : w.closing            ? "while ZV-KOB is closing"
                                             : nullptr;
    program.stop_requested = false;
    if (why != nullptr) {
        record(w, program_text(program) + " stopped " + why + "; it is left stopped.");
    }
    return why != nullptr;
}

void give_up(MainWindow& w, const NodeProgram& program, const StopVerdict& verdict) {
    const std::string why = "the node was started again " + std::to_string(restarts_per_hour) +
                            " times within an hour and stopped each time";
    record(w, "gives up: " + why + ". Last lines of its log:\n" + verdict.last_lines);
    w.services.notifier.show_error(
        "Keep Node Running gives up on " + program_text(program) + ": " + why + ".\n\n" +
        (verdict.last_lines.empty() ? verdict.why
                                    : "The last lines of its log:\n" + verdict.last_lines) +
        "\n\nLAUNCH or START starts it again when you are ready.");
}

void decide(MainWindow& w, NodeProgram& program, std::int64_t ran_ms) {
    if (!w.keep_node_running.ticked() || left_alone(w, program)) {
        return;
    }
    const StopVerdict verdict =
        how_the_node_stopped(w.services.files, w.data_folder, program.running_since_ms);
    const std::string stopped = program_text(program) + " stopped after " + duration_text(ran_ms);
    if (verdict.clean) {
        record(w, stopped + " cleanly (" + verdict.why + "); it is left stopped.");
        return;
    }
    if (w.countdown_timer.enabled()) {
        record(w,
               stopped + " (" + verdict.why + "); the countdown is armed already and starts it.");
        return;
    }
    w.services.windows.flash_main_window();
    Guarding& g = w.guarding;
    const std::int64_t now = w.services.clock.now_ms();
    std::erase_if(g.restarts_ms, [now](std::int64_t at) { return now - at > restart_window_ms; });
    if (g.restarts_ms.size() >= restarts_per_hour) {
        give_up(w, program, verdict);
        return;
    }
    const bool short_run =
        program.started_by == StartRequest::keep_node_running && ran_ms < short_run_ms;
    g.short_runs = short_run ? g.short_runs + 1 : 0;
    const std::int64_t wait = back_off_ms(g.short_runs);
    arm_countdown(w, wait);
    g.restart_armed = true;
    record(w, stopped + " unexpectedly (" + verdict.why + "). It is started again " +
                  (wait == 0 ? std::string("through the countdown")
                             : "after a wait of " + duration_text(wait) +
                                   ", as it ran less than five minutes after its last restart") +
                  "; STOP cancels.");
}

}  // namespace

std::int64_t back_off_ms(int short_runs) {
    constexpr std::array<std::int64_t, 4> waits{0, 1 * minute_ms, 5 * minute_ms, 15 * minute_ms};
    return waits[static_cast<std::size_t>(std::clamp(short_runs, 0, 3))];
}

void program_stopped(MainWindow& w, NodeProgram& program, std::int64_t ran_ms) {
    w.services.events.run_when_free(&program,
                                    [&w, &program, ran_ms] { decide(w, program, ran_ms); });
}

void end_back_off(MainWindow& w) {
    Guarding& g = w.guarding;
    if (g.short_runs != 0 || !g.restarts_ms.empty() || g.restart_armed) {
        record(w, "the user started the node; any wait before a restart ends.");
    }
    g.short_runs = 0;
    g.restarts_ms.clear();
    g.restart_armed = false;
}

void note_automatic_start(MainWindow& w) {
    Guarding& g = w.guarding;
    if (g.restart_armed) {
        g.restarts_ms.push_back(w.services.clock.now_ms());
        g.restart_armed = false;
    }
}

void note_countdown_stopped(MainWindow& w) {
    if (w.guarding.restart_armed) {
        w.guarding.restart_armed = false;
        record(w, "the restart was cancelled with STOP.");
    }
}

bool auto_close_held(MainWindow& w) {
    if (!w.keep_node_running.ticked()) {
        return false;
    }
    w.auto_close.set_tooltip(held_tip);
    w.countdown_display.set_tooltip(held_tip);
    if (!w.guarding.auto_close_held) {
        w.guarding.auto_close_held = true;
        record(w, "Auto Close leaves ZV-KOB open, to watch the node.");
    }
    return true;
}

void keep_node_running_clicked(MainWindow& w) {
    const bool on = !w.keep_node_running.ticked();
    w.keep_node_running.set_ticked(on);
    record(w, on ? "switched on." : "switched off.");
    if (!on) {
        w.auto_close.set_tooltip("");
        w.countdown_display.set_tooltip("");
        w.guarding.auto_close_held = false;
        if (w.guarding.restart_armed) {
            w.guarding.restart_armed = false;
            disarm_countdown(w);  // a restart it armed is not wanted any more
            record(w, "the restart it had armed is cancelled.");
        }
    }
}

}  // namespace zvkob
