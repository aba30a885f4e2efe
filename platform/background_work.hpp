#pragma once
#include <functional>
#include <memory>

#include "core/event_gate.hpp"

namespace zvkob {

// Work that may wait on a disk or a network path (a data folder's drive, the
// node's log, a program file) is done away from the window's thread, so that a
// path that takes half a minute to answer never freezes the window, delays
// STOP or leaves Windows' questions unanswered. One piece runs at a time, in
// the order asked.
//
// Every answer reaches the window through the event gate, here rather than
// at each caller: an answer that arrives while a handler waits on a message
// box acts on the window once that handler has ended, never from inside the
// box's loop.
class BackgroundWork {
public:
    explicit BackgroundWork(EventGate& events) : events_(events) {}
    virtual ~BackgroundWork() = default;
    BackgroundWork(const BackgroundWork&) = delete;
    BackgroundWork& operator=(const BackgroundWork&) = delete;

    // Runs `work` on the worker, then `done` on the window's thread as an
    // event of its own, unless `owner` has gone by then (a window that closed
    // meanwhile).
    void run(std::function<void()> work, std::function<void()> done,
             std::weak_ptr<const void> owner) {
        hand_over(std::move(work),
                  [&events = events_, done = std::move(done), owner = std::move(owner)] {
                      auto key = std::make_shared<char>();  // each answer waits on its own
                      events.run_when_free(key.get(), [key, owner, done] {
                          if (!owner.expired()) {
                              done();
                          }
                      });
                  });
    }

protected:
    // Runs `work` on the worker, then `answer` on the window's thread.
    virtual void hand_over(std::function<void()> work, std::function<void()> answer) = 0;

private:
    EventGate& events_;
};

// `work` gives a result that `done` takes, on the window's thread.
template <typename Result>
void run_in_background(BackgroundWork& worker, std::function<Result()> work,
                       std::function<void(Result)> done, std::weak_ptr<const void> owner) {
    auto result = std::make_shared<Result>();
    worker.run([result, work = std::move(work)] { *result = work(); },
               [result, done = std::move(done)] { done(std::move(*result)); }, std::move(owner));
}

}  // namespace zvkob
