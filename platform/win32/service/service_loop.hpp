#pragma once
#include <windows.h>

#include <functional>
#include <vector>

namespace zvkob::win32 {

// The service's thread as a loop: a message-only window whose timers run
// the guard, and to which the service manager's controls (heard on another
// thread) are posted, so that the guard runs on this thread alone. The
// worker posts its answers to a window of its own on this thread too.
class ServiceLoop {
public:
    ServiceLoop();
    ~ServiceLoop();
    ServiceLoop(const ServiceLoop&) = delete;
    ServiceLoop& operator=(const ServiceLoop&) = delete;

    // `event` every `interval_ms`, from the first run on.
    void every(UINT interval_ms, std::function<void()> event);
    // From any thread: `event` runs on the loop's thread, in the order posted.
    void post(std::function<void()> event);
    // Delivers messages until `done` says so after an event.
    void run_until(const std::function<bool()>& done);

private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

    HWND window_ = nullptr;
    std::vector<std::function<void()>> timers_;
};

}  // namespace zvkob::win32
