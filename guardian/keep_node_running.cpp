#include "guardian/keep_node_running.hpp"

#include <string>
#include <vector>

#include "core/time_text.hpp"

namespace zvkob {
namespace {

using std::chrono::milliseconds;
using std::chrono::minutes;
constexpr milliseconds shortest_good_run = minutes(5);
const std::string start_again = "\n\nLAUNCH or START starts it again when you are ready.";

std::string joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += (text.empty() ? "" : "\n") + line;
    }
    return text;
}

}  // namespace

// Every line it writes says that it is its decision.
void KeepNodeRunning::record(const std::string& event) {
    history_.record("Keep Node Running: " + event);
}

bool KeepNodeRunning::restart_armed() const {
    return switches_.countdown_running() &&
           countdown_.for_whom() == StartRequest::keep_node_running;
}

void KeepNodeRunning::leave_alone(const std::string& described, const std::string& why) {
    record(described + " stopped " + why + "; it is left stopped.");
}

KeepRunningRequest KeepNodeRunning::give_up(const GoneNode& node, const NodeStop& stop) {
    const std::string why = "the node was started again " + std::to_string(restarts_per_hour) +
                            " times within an hour and stopped each time";
    const std::string lines = joined(stop.last_lines);
    record("gives up: " + why + ". Last lines of its log:\n" + lines);
    KeepRunningRequest request;
    request.flash = true;
    request.notice = KeepRunningRequest::Notice{
        NoticeKind::gave_up, "Keep Node Running gave up",
        "It started the node again " + std::to_string(restarts_per_hour) +
            " times within an hour; the node is left stopped."};
    request.message = "Keep Node Running gives up on " + node.described + ": " + why + ".\n\n" +
                      (lines.empty() ? stop.why : "The last lines of its log:\n" + lines) +
                      start_again;
    return request;
}

// A clean stop is the user's or the node's choice: a countdown that would
// start the node again is ended too.
bool KeepNodeRunning::end_countdown_after_chosen_stop() {
    if (!switches_.countdown_running()) {
        return false;
    }
    record("the countdown is ended, so that it does not start the node again.");
    return true;
}

KeepRunningRequest KeepNodeRunning::arm_restart(const GoneNode& node, const std::string& stopped,
                                                const NodeStop& stop) {
    const bool short_run = node.restarted_by_us && milliseconds(node.ran_ms) < shortest_good_run;
    const std::optional<milliseconds> next = restarts_.next_wait(short_run, clock_.now_ms());
    if (!next) {
        return give_up(node, stop);
    }
    const milliseconds wait = *next;
    const bool shown = switches_.countdown_shown;
    record(stopped + " unexpectedly (" + stop.why + "). It is started again " +
           (wait == milliseconds(0)
                ? std::string(shown ? "through the countdown" : "at once")
                : "after a wait of " + duration_text(wait.count()) +
                      ", as it ran less than five minutes after its last restart") +
           (shown ? "; STOP cancels." : "."));
    KeepRunningRequest request;
    request.flash = true;
    request.restart_after = wait;
    request.notice = KeepRunningRequest::Notice{
        NoticeKind::restarting, "the node stopped unexpectedly",
        "Keep Node Running starts " + node.described + " again" +
            (wait == milliseconds(0) ? std::string(".")
                                     : " in " + duration_text(wait.count()) + ".")};
    return request;
}

// A crash is started again unless something else is already on its way.
KeepRunningRequest KeepNodeRunning::restart_after_crash(
    const GoneNode& node, const std::string& stopped, const NodeStop& stop,
    const std::function<std::optional<std::string>()>& held_back) {
    if (switches_.countdown_running()) {
        record(stopped + " (" + stop.why + "); the countdown is armed already and starts it.");
        return {};
    }
    if (const std::optional<std::string> reason = held_back()) {
        record(stopped + "; it is not started again: " + *reason + ".");
        return {};
    }
    return arm_restart(node, stopped, stop);
}

KeepRunningRequest KeepNodeRunning::decide(
    const GoneNode& node, const NodeStop& stop,
    const std::function<std::optional<std::string>()>& held_back) {
    const std::string stopped = node.described + " stopped after " + duration_text(node.ran_ms);
    KeepRunningRequest request;
    switch (stop.how) {
        case HowItStopped::clean:
            record(stopped + " cleanly (" + stop.why + "); it is left stopped.");
            request.end_countdown = end_countdown_after_chosen_stop();
            return request;
        case HowItStopped::after_error: {
            // Started again, a node stopped by a full disk or a damaged
            // database meets the same error: the user is told what helps.
            const std::string line = stop.fatal_line.empty() ? stop.why : stop.fatal_line;
            record(stopped + " after an error (" + stop.why + "): " + line +
                   "; it is not started again.");
            request.flash = true;
            request.message = "Keep Node Running does not start " + node.described +
                              " again: it stopped after an error.\n\n" + line + "\n\n" + stop.hint +
                              start_again;
            return request;
        }
        case HowItStopped::cut_short: {
            // Someone asked the node to stop and then ended it, often because
            // it took long: that was a choice to stop.
            const std::string next_start =
                "At its next start the node checks its database, which can take long.";
            record(stopped + " while stopping (" + stop.why + "); it is left stopped. " +
                   next_start);
            request.end_countdown = end_countdown_after_chosen_stop();
            request.message = "Keep Node Running leaves " + node.described +
                              " stopped: it was asked to stop and was ended before it "
                              "finished.\n\n" +
                              next_start + start_again;
            return request;
        }
        case HowItStopped::no_log:
            record(stopped + " (" + stop.why + "); with exit code 0 it is left stopped.");
            return request;
        case HowItStopped::crash:
            break;
    }
    return restart_after_crash(node, stopped, stop, held_back);
}

void KeepNodeRunning::user_started() {
    if (restarts_.any() || restart_armed()) {
        record("the user started the node; any wait before a restart ends.");
    }
    restarts_.forget();
}

void KeepNodeRunning::automatic_start(bool auto_close_on) {
    if (countdown_.for_whom() == StartRequest::keep_node_running) {
        restarts_.restarted(clock_.now_ms());
    }
    countdown_.hand_back();
    if (on() && auto_close_on) {
        record("Auto Close leaves ZV-KOB open, to watch the node.");
    }
}

void KeepNodeRunning::countdown_stopped() {
    if (restart_armed()) {
        record("the restart was cancelled with STOP.");
    }
    countdown_.hand_back();
}

bool KeepNodeRunning::switched(bool on) {
    record(on ? "switched on." : "switched off.");
    if (on || !restart_armed()) {
        return false;
    }
    countdown_.hand_back();  // a restart it armed is not wanted any more
    record("the restart it had armed is cancelled.");
    return true;
}

}  // namespace zvkob
