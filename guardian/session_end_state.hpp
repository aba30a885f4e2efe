#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "platform/history.hpp"
#include "platform/window_manager.hpp"

namespace zvkob {

// The end of the Windows session as ZV-KOB follows it: whether it is ending
// (nothing is started from then on), and since when ZV-KOB holds it for the
// node to stop.
class SignOutHold {
public:
    SignOutHold(WindowManager& windows, History& history) : windows_(windows), history_(history) {}

    void session_ending() { ending_ = true; }
    // Another program refused: the session goes on.
    void session_goes_on() { ending_ = false; }
    bool ending() const { return ending_; }

    // Windows shows why the end waits.
    void hold(std::int64_t now_ms) {
        windows_.hold_session_end("Stopping the node safely\u2026");
        held_since_ms_ = now_ms;
        history_.record(
            "Windows is ending the session: ZV-KOB holds it until the node has "
            "stopped, ten minutes at most.");
    }
    const std::optional<std::int64_t>& held_since_ms() const { return held_since_ms_; }
    // Lets Windows go on, when the end is held, and the history says why.
    void let_go(const std::string& why) {
        if (held_since_ms_) {
            held_since_ms_.reset();
            windows_.release_session_end();
            history_.record(why);
        }
    }

private:
    WindowManager& windows_;
    History& history_;
    bool ending_ = false;
    std::optional<std::int64_t> held_since_ms_;
};

}  // namespace zvkob
