#pragma once
#include <chrono>
#include <optional>
#include <string>

#include "guardian/node/node_of_this_copy.hpp"

namespace zvkob {

// What the countdown is armed with: eleven seconds.
inline constexpr std::chrono::milliseconds countdown_start = std::chrono::seconds(11);

// The countdown display: the seconds left, as two digits. Below zero it shows
// the seconds of the absolute value, so an overrun counts up "01", "02" ...
// "59" and reads "00" again every minute. A minute or more ahead (a restart
// that waits) it shows minutes and seconds, "4:59".
std::string countdown_text(std::chrono::milliseconds remaining);

// The countdown's own state: the time left, what it last wrote, who it
// starts the node for, and why its zero step waits. Its timer and buttons
// stay with the window.
class CountdownRun {
public:
    // Armed for `requester`, after an extra `wait` (Keep Node Running's back-off).
    void arm(StartRequest requester, std::chrono::milliseconds wait) {
        remaining_ = countdown_start + wait;
        for_ = requester;
    }
    // The eleven seconds the window shows before it is armed.
    void rewind() { remaining_ = countdown_start; }
    // One second less; returns what the display writes now.
    const std::string& step() {
        remaining_ -= std::chrono::seconds(1);
        shown_ = countdown_text(remaining_);
        return shown_;
    }
    // The zero step, and a wait that ends, write "-- --".
    void show_dashes() { shown_ = "-- --"; }
    // A start that was Keep Node Running's is an ordinary one from now on.
    void hand_back() { for_ = StartRequest::countdown; }

    // Returns whether the reason is new (the history tells each reason once).
    bool wait_because(const std::string& reason) {
        const bool is_new = reason != waiting_;
        waiting_ = reason;
        return is_new;
    }
    void stop_waiting() { waiting_.reset(); }

    // Time left; below zero once it has passed zero.
    std::chrono::milliseconds remaining() const { return remaining_; }
    const std::string& shown() const { return shown_; }
    StartRequest for_whom() const { return for_; }
    // Why the start waits (the data folder's drive, free space).
    const std::optional<std::string>& waiting() const { return waiting_; }

private:
    std::chrono::milliseconds remaining_{0};
    std::string shown_ = "-- --";
    StartRequest for_ = StartRequest::countdown;
    std::optional<std::string> waiting_;
};

}  // namespace zvkob
