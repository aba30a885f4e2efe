#include "platform/win32/worker_thread.hpp"

namespace zvkob::win32 {
namespace {

// As long as Windows' own thread pool lets an idle thread wait for work: a
// node's log read every two seconds keeps one thread, not one per reading.
constexpr std::chrono::milliseconds idle_before_ending{5000};

void run_piece(WorkQueue& queue, const WorkQueue::Work& work) {
    try {
        work();
    } catch (...) {
        // the piece's own answer says what it found; nothing more to do here
    }
    queue.finished();
}

// The lowest committed address of this thread's stack. (GCC takes mingw's
// read of the TEB through %gs for an access to an empty array.)
ULONG_PTR stack_limit() {
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Warray-bounds"
    const auto* tib = reinterpret_cast<const NT_TIB*>(NtCurrentTeb());
#pragma GCC diagnostic pop
    return reinterpret_cast<ULONG_PTR>(tib->StackLimit);
}

// Wine frees an ended thread's stack only when the next thread ends, and it
// has touched about 1 MiB of every stack; so an ending thread lets go of the
// pages below its last frame itself. Windows frees the stack at once, and
// the call changes nothing there. The margin keeps the frames of the call.
__attribute__((noinline)) void discard_stack_below_here() {
    constexpr ULONG_PTR page = 4096;
    constexpr ULONG_PTR margin = 64 * 1024;
    const ULONG_PTR lowest = stack_limit();
    const auto here = reinterpret_cast<ULONG_PTR>(__builtin_frame_address(0));
    if (here > lowest + margin) {
        const ULONG_PTR end = (here - margin) & ~(page - 1);
        VirtualAlloc(reinterpret_cast<void*>(lowest), end - lowest, MEM_RESET, PAGE_READWRITE);
    }
}

DWORD WINAPI work_through(void* held) {
    {
        const std::unique_ptr<std::shared_ptr<WorkQueue>> queue(
            static_cast<std::shared_ptr<WorkQueue>*>(held));
        while (auto work = (*queue)->take(idle_before_ending)) {
            run_piece(**queue, *work);
        }
    }
    discard_stack_below_here();
    return 0;
}

}  // namespace

WorkerThread::WorkerThread() : queue_(std::make_shared<WorkQueue>()) {}

WorkerThread::~WorkerThread() {
    stop(WorkQueue::Waiting::drop, false);  // once stopped, nothing is left to drop or wait for
}

void WorkerThread::give(WorkQueue::Work work, WorkQueue::Work if_dropped) {
    const std::lock_guard lock(thread_mutex_);
    if (!queue_->give(std::move(work), std::move(if_dropped))) {
        return;  // a thread takes it
    }
    // The thread that ran before has left the queue, and ends on its own.
    auto held = std::make_unique<std::shared_ptr<WorkQueue>>(queue_);
    // A plain Windows thread: one started through the C++ library keeps
    // about half a MiB more under wine.
    thread_ = KernelHandle(CreateThread(nullptr, 0, work_through, held.get(), 0, nullptr));
    if (thread_) {
        held.release();  // the thread's now
        return;
    }
    queue_->no_thread_started();
    while (auto waiting = queue_->take(std::chrono::milliseconds(0))) {
        run_piece(*queue_, *waiting);
    }
}

bool WorkerThread::wait_until_done(std::chrono::milliseconds longest) {
    return queue_->wait_until_done(longest);
}

// Once the queue is closed no thread is started any more: the one a giver
// may be starting is known once that giver has let go of the lock.
HANDLE WorkerThread::last_thread() {
    const std::lock_guard lock(thread_mutex_);
    return thread_.get();
}

void WorkerThread::stop(WorkQueue::Waiting waiting, bool wait_for_running) {
    queue_->close(waiting);
    const HANDLE thread = last_thread();
    if (thread != nullptr && (wait_for_running || !queue_->busy())) {
        WaitForSingleObject(thread, INFINITE);
    }
}

bool WorkerThread::stop_within(std::chrono::milliseconds longest) {
    queue_->close(WorkQueue::Waiting::drop);
    const HANDLE thread = last_thread();
    return thread == nullptr ||
           WaitForSingleObject(thread, static_cast<DWORD>(longest.count())) == WAIT_OBJECT_0;
}

}  // namespace zvkob::win32
