#pragma once
#include <functional>
#include <string_view>
#include <utility>
#include <vector>

namespace zvkob {

// Runs the program's events (clicks, timer ticks, loads, close requests) one
// at a time, each to its end. A message box inside a handler keeps
// delivering window messages; what arrives then must not re-enter the
// unfinished handler, and nothing the user or Windows asked for is lost:
//   - a click is dropped (its window is disabled under the box anyway);
//   - a tick or a close request waits, and runs once when the handler has ended;
//   - an event that only reads (the process watcher) runs at once, beside it;
//     what such an event does beyond reading waits (act_when_free).
// A failure that escapes a handler is reported, never fatal.
class EventGate {
public:
    using FailureReport = std::function<void(std::string_view what_failed)>;
    explicit EventGate(FailureReport report) : report_(std::move(report)) {}

    bool busy() const { return busy_; }

    // Runs the event unless another is still running. Returns whether it ran.
    bool run(const std::function<void()>& event);

    // Runs the event now, or once the running event has ended. Events that
    // wait under the same key run once, however often they were asked for.
    void run_when_free(const void* key, std::function<void()> event);

    // Runs an event that only reads and shows what it read, even while
    // another event waits on a message box; never inside itself.
    void run_beside(const std::function<void()>& event);

    // The part of such an event that acts (stops or starts the node, pauses
    // its network, holds the PC awake, offers a backup): now, unless the
    // event runs beside another's message box, then once that event has
    // ended (as run_when_free, under `key`), on the state of then.
    void act_when_free(const void* key, std::function<void()> action);

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
    void guarded(const std::function<void()>& event);
    void run_waiting();

    FailureReport report_;
    bool busy_ = false;
    bool reading_ = false;
    std::vector<std::pair<const void*, std::function<void()>>> waiting_;
};

}  // namespace zvkob
