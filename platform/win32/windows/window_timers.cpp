#include "platform/win32/windows/window_timers.hpp"

namespace zvkob::win32 {
namespace {

// Windows timer ids start at 1: timer `index` of the model is `index + 1`.
UINT_PTR timer_id(std::size_t index) {
    return index + 1;
}

}  // namespace

void WindowTimers::observe() {
    for (std::size_t index = 0; index < timers_.size(); ++index) {
        timers_[index]->set_observer([this, index] { apply(index); });
        apply(index);
    }
}

void WindowTimers::forget() {
    for (std::size_t index = 0; index < timers_.size(); ++index) {
        timers_[index]->set_observer(nullptr);
        if (window_.exists()) {
            KillTimer(window_.handle(), timer_id(index));
        }
    }
}

void WindowTimers::apply(std::size_t index) const {
    if (!window_.exists()) {
        return;
    }
    const Timer& timer = *timers_[index];
    if (timer.running()) {
        SetTimer(window_.handle(), timer_id(index), static_cast<UINT>(timer.interval_ms()),
                 nullptr);
    } else {
        KillTimer(window_.handle(), timer_id(index));
    }
}

// A tick that acts waits while a handler shows a message box, and then runs
// once; by then its timer may have been switched off or its window closed.
void WindowTimers::tick(WPARAM id) {
    const std::size_t index = id - 1;
    if (index >= timers_.size() || !timers_[index]->running()) {
        return;
    }
    Timer& timer = *timers_[index];
    if (timer.effect() == TickEffect::reads_only) {
        gate_.run_beside([&timer] { timer.tick(); });
        return;
    }
    gate_.run_when_free(&timer, [this, &timer] {
        if (window_.exists() && timer.running()) {
            timer.tick();
        }
    });
}

}  // namespace zvkob::win32
