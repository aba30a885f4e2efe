#pragma once
#include <cstdint>
#include <optional>

namespace zvkob {

// The end of the Windows session as ZV-KOB follows it: whether it is ending
// (nothing is started from then on), and since when ZV-KOB holds it for the
// node to stop.
class SignOutHold {
public:
    void session_ending() { ending_ = true; }
    // Another program refused: the session goes on.
    void session_goes_on() { ending_ = false; }
    bool ending() const { return ending_; }

    void hold(std::int64_t now_ms) { held_since_ms_ = now_ms; }
    const std::optional<std::int64_t>& held_since_ms() const { return held_since_ms_; }
    // Returns whether the end was held (and so Windows is to be let go).
    bool let_go() {
        const bool held = held_since_ms_.has_value();
        held_since_ms_.reset();
        return held;
    }

private:
    bool ending_ = false;
    std::optional<std::int64_t> held_since_ms_;
};

}  // namespace zvkob
