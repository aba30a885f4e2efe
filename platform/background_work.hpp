#pragma once
#include <functional>
#include <memory>

namespace zvkob {

// Work that may wait on a disk or a network path (a data folder's drive, the
// node's log, a program file) is done away from the window's thread, so that a
// path that takes half a minute to answer never freezes the window, delays
// STOP or leaves Windows' questions unanswered. One piece runs at a time, in
// the order asked.
class BackgroundWork {
public:
    virtual ~BackgroundWork() = default;
    // Runs `work` on the worker, then `done` on the window's thread, unless
    // `owner` has gone by then (a window that closed meanwhile).
    virtual void run(std::function<void()> work, std::function<void()> done,
                     std::weak_ptr<const void> owner) = 0;
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
