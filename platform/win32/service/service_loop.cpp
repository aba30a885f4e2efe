#include "platform/win32/service/service_loop.hpp"

#include <memory>

namespace zvkob::win32 {
namespace {

constexpr wchar_t loop_class[] = L"ZV-KOB service loop";
constexpr UINT posted_event = WM_APP + 1;

void register_class() {
    static const bool registered = [] {
        WNDCLASSW design{};
        design.lpfnWndProc = DefWindowProcW;
        design.hInstance = GetModuleHandleW(nullptr);
        design.lpszClassName = loop_class;
        return RegisterClassW(&design) != 0;
    }();
    static_cast<void>(registered);
}

}  // namespace

ServiceLoop::ServiceLoop() {
    register_class();
    window_ = CreateWindowExW(0, loop_class, nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&procedure));
}

ServiceLoop::~ServiceLoop() {
    if (window_ != nullptr) {
        DestroyWindow(window_);
    }
    // Events posted and never run are freed with the messages left.
    MSG message;
    while (PeekMessageW(&message, nullptr, posted_event, posted_event, PM_REMOVE)) {
        delete reinterpret_cast<std::function<void()>*>(message.lParam);
    }
}

void ServiceLoop::every(UINT interval_ms, std::function<void()> event) {
    timers_.push_back(std::move(event));
    SetTimer(window_, timers_.size(), interval_ms, nullptr);
}

void ServiceLoop::post(std::function<void()> event) {
    auto posted = std::make_unique<std::function<void()>>(std::move(event));
    if (PostMessageW(window_, posted_event, 0, reinterpret_cast<LPARAM>(posted.get()))) {
        static_cast<void>(posted.release());  // the loop frees it once run
    }
}

void ServiceLoop::run_until(const std::function<bool()>& done) {
    MSG message;
    while (!done() && GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

LRESULT CALLBACK ServiceLoop::procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    auto* loop = reinterpret_cast<ServiceLoop*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (loop != nullptr && message == WM_TIMER && wparam >= 1 && wparam <= loop->timers_.size()) {
        loop->timers_[wparam - 1]();
        return 0;
    }
    if (message == posted_event) {
        const std::unique_ptr<std::function<void()>> event(
            reinterpret_cast<std::function<void()>*>(lparam));
        (*event)();
        return 0;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace zvkob::win32
