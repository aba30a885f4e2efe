#pragma once
#include <windows.h>

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
    // A piece still running (a path that does not answer) is left to finish
    // on its own; nothing waits for it, and its answer is dropped.
    ~Win32BackgroundWork() override;
    Win32BackgroundWork(const Win32BackgroundWork&) = delete;
    Win32BackgroundWork& operator=(const Win32BackgroundWork&) = delete;

private:
    void hand_over(std::function<void()> work, std::function<void()> answer) override;

    HWND answers_ = nullptr;
    WorkerThread worker_;
};

}  // namespace zvkob::win32
