#pragma once
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>

namespace zvkob {

// A worker's queue: pieces of work taken one at a time, in the order they
// were given, by one thread at a time. That thread runs only while there is
// work: it ends once the queue has been empty for a while, and the next piece
// given asks for a new one.
class WorkQueue {
public:
    using Work = std::function<void()>;
    // What close() does with the pieces that no thread has taken yet.
    enum class Waiting { drop, finish };

    // Whether the giver must start a thread to take the piece: true when none
    // takes from the queue now (the first piece, or one after a quiet while).
    // Once the queue is closed, a piece given is dropped. `if_dropped` runs
    // when the piece is dropped without having run, on the dropping thread.
    [[nodiscard]] bool give(Work work, Work if_dropped = {});
    // The giver could not start that thread: the next piece asks again.
    void no_thread_started();
    // The next piece, waiting up to `idle` for one; nothing once the queue is
    // closed or stayed empty that long, and the thread that asked then ends.
    std::optional<Work> take(std::chrono::milliseconds idle);
    // Whether a taken piece has not finished yet (the worker calls finished()).
    bool busy() const;
    void finished();
    // Waits up to `longest` until every piece given has finished; whether
    // they all have.
    bool wait_until_done(std::chrono::milliseconds longest);
    // No more work is given; a thread waiting in take() returns once what it
    // is to `finish` is done. The pieces dropped say so through their
    // `if_dropped`, here, in the order they were given.
    void close(Waiting waiting);

private:
    struct Piece {
        Work work;
        Work if_dropped;
    };
    static void tell_dropped(const std::deque<Piece>& pieces);

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Piece> waiting_;
    bool taken_by_a_thread_ = false;
    bool busy_ = false;
    bool closed_ = false;
};

}  // namespace zvkob
