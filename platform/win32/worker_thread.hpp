#pragma once
#include <windows.h>

#include <chrono>
#include <memory>
#include <mutex>

#include "core/work_queue.hpp"
#include "platform/win32/owners.hpp"

namespace zvkob::win32 {

// A plain Windows thread that runs only while there is work: it starts with
// a piece given while none runs, takes the pieces one at a time in order, and
// ends once it has had none for a few seconds. A watching ZV-KOB is idle
// nearly all the time, and under wine every thread keeps about 1 MiB for as
// long as it lives, whatever its stack size.
class WorkerThread {
public:
    WorkerThread();
    // Ends as stop(WorkQueue::Waiting::drop, false) does; after a stop, at once.
    ~WorkerThread();
    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;

    // Where no thread can be started (Windows is out of memory), the piece
    // runs on the caller's thread: late is better than never. Any thread may
    // give. `if_dropped` runs if the piece is dropped unrun by a stop.
    void give(WorkQueue::Work work, WorkQueue::Work if_dropped = {});
    // Waits up to `longest` until every piece given has finished.
    bool wait_until_done(std::chrono::milliseconds longest);
    // No more work. With `wait_for_running`, waits for the piece that runs (it
    // may use its giver); without, leaves it to finish on its own.
    void stop(WorkQueue::Waiting waiting, bool wait_for_running);
    // No more work: the pieces waiting are dropped, and the one that runs is
    // waited for up to `longest`. Whether no piece runs any more.
    bool stop_within(std::chrono::milliseconds longest);

private:
    HANDLE last_thread();

    // The queue is the threads' as much as this object's: a piece left
    // running still finds its queue when it ends.
    std::shared_ptr<WorkQueue> queue_;
    std::mutex thread_mutex_;  // givers on several threads
    KernelHandle thread_;      // the latest; an earlier one has left its queue
};

}  // namespace zvkob::win32
