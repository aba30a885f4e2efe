#pragma once
#include <windows.h>

#include <chrono>
#include <memory>

#include "platform/background_work.hpp"
#include "platform/win32/worker_thread.hpp"

namespace zvkob::win32 {

// One worker thread, running while there is work, and a message-only window
// on the window's thread to hand the answers back: a posted message reaches it
// in any message loop, a message box's included, and the event gate holds it
// there until the handler under the box has ended.
class Win32BackgroundWork : public BackgroundWork {
public:
    explicit Win32BackgroundWork(EventGate& events);
    // A piece still running is left to finish on its own, and its answer is
    // dropped: call finish_within() first, while what it uses is still there.
    ~Win32BackgroundWork() override;
    Win32BackgroundWork(const Win32BackgroundWork&) = delete;
    Win32BackgroundWork& operator=(const Win32BackgroundWork&) = delete;

    // No more work: the pieces not yet begun are dropped, and the one that
    // runs is waited for up to `longest` (a path that does not answer may
    // hold it much longer). Whether no piece runs any more.
    bool finish_within(std::chrono::milliseconds longest) { return worker_.stop_within(longest); }

private:
    void hand_over(std::function<void()> work, std::function<void()> answer) override;

    HWND answers_ = nullptr;
    WorkerThread worker_;
};

}  // namespace zvkob::win32
