#include "core/event_gate.hpp"

#include <algorithm>
#include <exception>
#include <utility>

namespace zvkob {

bool EventGate::run(const std::function<void()>& event) {
    if (busy_) {
        return false;
    }
    busy_ = true;
    guarded(event);
    busy_ = false;
    run_waiting();
    return true;
}

void EventGate::run_when_free(const void* key, std::function<void()> event) {
    if (!busy_) {
        run(event);
        return;
    }
    const bool already_waiting = std::any_of(
        waiting_.begin(), waiting_.end(), [key](const auto& entry) { return entry.first == key; });
    if (!already_waiting) {
        waiting_.emplace_back(key, std::move(event));
    }
}

void EventGate::run_beside(const std::function<void()>& event) {
    if (!busy_) {
        run(event);
        return;
    }
    if (reading_) {
        return;
    }
    reading_ = true;
    guarded(event);
    reading_ = false;
}

void EventGate::act_when_free(const void* key, std::function<void()> action) {
    if (reading_) {
        run_when_free(key, std::move(action));
        return;
    }
    action();
}

void EventGate::guarded(const std::function<void()>& event) {
    try {
        event();
    } catch (const std::exception& failure) {
        report_(failure.what());
    } catch (...) {
        report_("an unexpected internal error");
    }
}

// In the order they were asked for; each may ask for more.
void EventGate::run_waiting() {
    while (!busy_ && !waiting_.empty()) {
        const std::function<void()> next = std::move(waiting_.front().second);
        waiting_.erase(waiting_.begin());
        run(next);
    }
}

}  // namespace zvkob
