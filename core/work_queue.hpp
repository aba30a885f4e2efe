#pragma once
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>

namespace zvkob {

// The worker's queue: pieces of work taken one at a time, in the order they
// were given, by one thread that waits while there is none.
class WorkQueue {
public:
    using Work = std::function<void()>;

    void give(Work work);
    // The next piece, waiting for one; nothing once the queue is closed.
    std::optional<Work> take();
    // No more work is taken; a thread waiting in take() returns.
    void close();
    // Whether a taken piece has not finished yet (the worker calls finished()).
    bool busy() const;
    void finished();

private:
    mutable std::mutex mutex_;
    std::condition_variable given_;
    std::deque<Work> waiting_;
    bool busy_ = false;
    bool closed_ = false;
};

}  // namespace zvkob
