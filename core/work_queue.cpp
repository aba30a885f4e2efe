#include "core/work_queue.hpp"

namespace zvkob {

void WorkQueue::give(Work work) {
    {
        const std::lock_guard lock(mutex_);
        waiting_.push_back(std::move(work));
    }
    given_.notify_one();
}

std::optional<WorkQueue::Work> WorkQueue::take() {
    std::unique_lock lock(mutex_);
    given_.wait(lock, [this] { return closed_ || !waiting_.empty(); });
    if (closed_) {
        return std::nullopt;
    }
    Work next = std::move(waiting_.front());
    waiting_.pop_front();
    busy_ = true;
    return next;
}

void WorkQueue::close() {
    {
        const std::lock_guard lock(mutex_);
        closed_ = true;
    }
    given_.notify_all();
}

bool WorkQueue::busy() const {
    const std::lock_guard lock(mutex_);
    return busy_;
}

void WorkQueue::finished() {
    const std::lock_guard lock(mutex_);
    busy_ = false;
}

}  // namespace zvkob
