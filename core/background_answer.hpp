#pragma once
#include <functional>
#include <memory>

#include "core/event_gate.hpp"
#include "platform/background_work.hpp"

namespace zvkob {

// Runs `check` on the worker and hands its answer to `then` on the window's
// thread as an event of its own: once no handler is running (a message box
// may be open), and only while `owner` (the window) still lives.
template <typename Answer>
void answer_in_background(BackgroundWork& worker, EventGate& events,
                          std::weak_ptr<const void> owner, std::function<Answer()> check,
                          std::function<void(Answer)> then) {
    run_in_background<Answer>(
        worker, std::move(check),
        [&events, owner, then = std::move(then)](Answer answer) {
            auto key = std::make_shared<char>();  // each answer is an event of its own
            events.run_when_free(key.get(), [key, owner, then, answer = std::move(answer)] {
                if (!owner.expired()) {
                    then(answer);
                }
            });
        },
        owner);
}

}  // namespace zvkob
