#pragma once
#include <windows.h>

#include <array>
#include <chrono>
#include <memory>

#include "platform/background_work.hpp"
#include "platform/win32/worker_thread.hpp"

namespace zvkob::win32 {

// A worker thread for each lane, running while there is work, and a
// message-only window on the window's thread to hand the answers back: a
// posted message reaches it in any message loop, a message box's included,
// and the event gate holds it there until the handler under the box has ended.
class Win32BackgroundWork : public BackgroundWork {
public:
    explicit Win32BackgroundWork(EventGate& events);
    // A piece still running is left to finish on its own, and its answer is
    // dropped: call finish_within() first, while what it uses is still there.
    ~Win32BackgroundWork() override;
    Win32BackgroundWork(const Win32BackgroundWork&) = delete;
    Win32BackgroundWork& operator=(const Win32BackgroundWork&) = delete;

    // No more work: the pieces not yet begun are dropped (each says so
    // through its if_dropped, here), and those that run are waited for up to
    // `longest` in all (a path or a node that does not answer may hold one
    // much longer). Whether no piece runs any more.
    bool finish_within(std::chrono::milliseconds longest);

private:
    void hand_over(Lane lane, std::function<void()> work, std::function<void()> answer,
                   std::function<void()> if_dropped) override;

    HWND answers_ = nullptr;
    std::array<WorkerThread, lane_count> lanes_;
};

}  // namespace zvkob::win32
