#pragma once
#include <functional>
#include <string_view>

namespace zvkob {

// Runs the program's events (clicks, timer ticks, loads) one at a time, each to
// its end. A message box inside a handler keeps delivering window messages; an
// event that arrives then is skipped instead of re-entering the unfinished
// handler. A failure that escapes a handler is reported, never fatal.
class EventGate {
public:
    using FailureReport = std::function<void(std::string_view what_failed)>;
    explicit EventGate(FailureReport report) : report_(std::move(report)) {}

    bool busy() const { return busy_; }

    // Runs the event unless another is still running. Returns whether it ran.
    bool run(const std::function<void()>& event);

    // While a modal window is shown from inside a handler, its own events and
    // the owner's timers run again; the gate reopens for as long as this lives.
    class Reopened {
    public:
        explicit Reopened(EventGate& gate) : gate_(gate), was_busy_(gate.busy_) {
            gate.busy_ = false;
        }
        ~Reopened() { gate_.busy_ = was_busy_; }
        Reopened(const Reopened&) = delete;
        Reopened& operator=(const Reopened&) = delete;

    private:
        EventGate& gate_;
        bool was_busy_;
    };

private:
    FailureReport report_;
    bool busy_ = false;
};

}  // namespace zvkob
