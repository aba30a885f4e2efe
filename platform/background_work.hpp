#pragma once
#include <cstddef>
#include <functional>
#include <memory>

#include "core/event_gate.hpp"

namespace zvkob {

// The worker's lanes. Each lane takes its pieces one at a time, in the order
// asked, beside the others: a slow node or a large folder on one lane never
// delays what waits on another. Every piece on every lane is bounded.
enum class Lane {
    // The node's log (read every two seconds), a stop's verdict, the drive
    // LAUNCH waits for, a program file, the history: what the window waits on.
    disk,
    // The node's RPC polls: up to the transport's time-outs each.
    node_rpc,
    // A stop sent over the node's RPC: never behind a slow poll or a backup.
    node_stop,
    // Wallet backups through the node's RPC: minutes at worst, for each wallet.
    wallet_backup,
    // The walk of the data folder for its size: up to its time limit.
    folder_walk,
};
inline constexpr std::size_t lane_count = 5;

// Work that may wait on a disk, a network path or the node (a data folder's
// drive, the node's log, the node's RPC) is done away from the window's
// thread, so that a path that takes half a minute to answer never freezes the
// window, delays STOP or leaves Windows' questions unanswered.
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

    // Runs `work` on `lane`, then `done` on the window's thread as an event
    // of its own, unless `owner` has gone by then (a window that closed
    // meanwhile). A piece that never ran because ZV-KOB closed first is not
    // done: `if_dropped` says so (in the history), on the closing thread, with
    // nothing of the window's.
    void run(std::function<void()> work, std::function<void()> done,
             std::weak_ptr<const void> owner, Lane lane = Lane::disk,
             std::function<void()> if_dropped = {}) {
        hand_over(
            lane, std::move(work),
            [&events = events_, done = std::move(done), owner = std::move(owner)] {
                auto key = std::make_shared<char>();  // each answer waits on its own
                events.run_when_free(key.get(), [key, owner, done] {
                    if (!owner.expired()) {
                        done();
                    }
                });
            },
            std::move(if_dropped));
    }

protected:
    // Runs `work` on `lane`, then `answer` on the window's thread; or only
    // `if_dropped`, should the piece be dropped unrun.
    virtual void hand_over(Lane lane, std::function<void()> work, std::function<void()> answer,
                           std::function<void()> if_dropped) = 0;

private:
    EventGate& events_;
};

// `work` gives a result that `done` takes, on the window's thread.
template <typename Result>
void run_in_background(BackgroundWork& worker, std::function<Result()> work,
                       std::function<void(Result)> done, std::weak_ptr<const void> owner,
                       Lane lane = Lane::disk, std::function<void()> if_dropped = {}) {
    auto result = std::make_shared<Result>();
    worker.run([result, work = std::move(work)] { *result = work(); },
               [result, done = std::move(done)] { done(std::move(*result)); }, std::move(owner),
               lane, std::move(if_dropped));
}

}  // namespace zvkob
