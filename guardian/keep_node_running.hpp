#pragma once
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>

#include "core/node_log/node_stop_verdict.hpp"
#include "guardian/countdown_state.hpp"
#include "guardian/restart_history.hpp"
#include "platform/clock.hpp"
#include "platform/history.hpp"
#include "platform/notification_area.hpp"

namespace zvkob {

// What Keep Node Running asks of the window after it decided on a node gone,
// carried out in this order: the window flashes, the countdown is disarmed
// or armed, the notice shows in the notification area, the message is told.
struct KeepRunningRequest {
    struct Notice {
        NoticeKind kind;
        std::string title;
        std::string text;
    };
    bool flash = false;
    bool end_countdown = false;  // a countdown that would start the node again
    std::optional<std::chrono::milliseconds> restart_after;  // arm the countdown to restart
    std::optional<Notice> notice;
    std::string message;  // for the user, or empty
};

// This copy's node as Keep Node Running decides on it, once its log was read.
struct GoneNode {
    std::string described;  // which program, for the history and the messages
    std::int64_t ran_ms = 0;
    bool restarted_by_us = false;  // the last start was this feature's restart
};

// What Keep Node Running reads of the window: whether the window menu's
// "Keep Node Running" is ticked (stored with the window's settings), and
// whether the countdown's timer runs.
struct KeepRunningSwitches {
    std::function<bool()> switched_on;
    std::function<bool()> countdown_running;
    // Whoever runs it shows the countdown, which STOP cancels (the window
    // does; the service starts after the wait alone).
    bool countdown_shown = true;
};

// Keep Node Running: while it is on, this copy's node that crashes is
// started again through the countdown. One that stopped cleanly (its own log
// shows the node's shutdown done line), stopped after a fatal error (it would
// meet the same error again), or that ZV-KOB or Windows stopped, is left
// stopped. A node that ran less than five minutes after a restart waits
// longer before the next one (one minute, then five, then fifteen); after
// five restarts within an hour it gives up and says why. Every decision goes
// into the history.
class KeepNodeRunning {
public:
    // The switch and the countdown's timer are the window's, which decides
    // on both; the countdown is read to tell whether a restart of its own is armed.
    KeepNodeRunning(KeepRunningSwitches switches, CountdownRun& countdown, History& history,
                    Clock& clock)
        : switches_(std::move(switches)), countdown_(countdown), history_(history), clock_(clock) {}

    bool on() const { return switches_.switched_on(); }

    // A node stopped for a reason that is not its own (`why`, e.g. "as
    // ZV-KOB asked it to"): it is left stopped, and that is recorded.
    void leave_alone(const std::string& described, const std::string& why);

    // The decision on a node gone, with the verdict of its log. `held_back`
    // says why a restart could not start now, if so.
    KeepRunningRequest decide(const GoneNode& node, const NodeStop& stop,
                              const std::function<std::optional<std::string>()>& held_back);

    // LAUNCH or START by the user ends any back-off and pending restart.
    void user_started();
    // The countdown's zero step started a program: a restart, when this
    // feature armed it. `auto_close_on`: Auto Close is ticked.
    void automatic_start(bool auto_close_on);
    // STOP is about to disarm the countdown.
    void countdown_stopped();
    // With it on, ZV-KOB stays open after an automatic start: Auto Close must
    // not act.
    bool holds_auto_close() const { return on(); }
    // Switched on or off (the tick is set already); returns whether the
    // countdown is to be disarmed: switched off, a restart it armed is not
    // wanted any more.
    bool switched(bool on);

private:
    bool restart_armed() const;
    void record(const std::string& event);
    KeepRunningRequest restart_after_crash(const GoneNode& node, const std::string& stopped,
                                           const NodeStop& stop,
                                           const std::function<std::optional<std::string>()>&);
    KeepRunningRequest arm_restart(const GoneNode& node, const std::string& stopped,
                                   const NodeStop& stop);
    KeepRunningRequest give_up(const GoneNode& node, const NodeStop& stop);
    bool end_countdown_after_chosen_stop();

    KeepRunningSwitches switches_;
    CountdownRun& countdown_;
    History& history_;
    Clock& clock_;
    RestartHistory restarts_;
};

}  // namespace zvkob
