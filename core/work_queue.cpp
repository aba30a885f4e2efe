#include "core/work_queue.hpp"

namespace zvkob {

bool WorkQueue::give(Work work, Work if_dropped) {
    bool start_a_thread = false;
    {
        std::unique_lock lock(mutex_);
        if (closed_) {
            lock.unlock();
            tell_dropped({Piece{std::move(work), std::move(if_dropped)}});
            return false;
        }
        waiting_.push_back({std::move(work), std::move(if_dropped)});
        start_a_thread = !taken_by_a_thread_;
        taken_by_a_thread_ = true;
    }
    changed_.notify_all();
    return start_a_thread;
}

void WorkQueue::no_thread_started() {
    const std::lock_guard lock(mutex_);
    taken_by_a_thread_ = false;
}

std::optional<WorkQueue::Work> WorkQueue::take(std::chrono::milliseconds idle) {
    std::unique_lock lock(mutex_);
    changed_.wait_for(lock, idle, [this] { return closed_ || !waiting_.empty(); });
    if (waiting_.empty()) {
        // Decided under the lock: a piece given from now on starts a new thread.
        taken_by_a_thread_ = false;
        return std::nullopt;
    }
    Work next = std::move(waiting_.front().work);
    waiting_.pop_front();
    busy_ = true;
    return next;
}

bool WorkQueue::busy() const {
    const std::lock_guard lock(mutex_);
    return busy_;
}

void WorkQueue::finished() {
    {
        const std::lock_guard lock(mutex_);
        busy_ = false;
    }
    changed_.notify_all();
}

bool WorkQueue::wait_until_done(std::chrono::milliseconds longest) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, longest, [this] { return waiting_.empty() && !busy_; });
}

void WorkQueue::close(Waiting waiting) {
    std::deque<Piece> dropped;
    {
        const std::lock_guard lock(mutex_);
        closed_ = true;
        if (waiting == Waiting::drop) {
            dropped.swap(waiting_);
        }
    }
    changed_.notify_all();
    tell_dropped(dropped);
}

// Outside the lock: a piece's note may give work to another queue.
void WorkQueue::tell_dropped(const std::deque<Piece>& pieces) {
    for (const Piece& piece : pieces) {
        if (piece.if_dropped) {
            piece.if_dropped();
        }
    }
}

}  // namespace zvkob
