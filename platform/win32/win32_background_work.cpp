#include "platform/win32/win32_background_work.hpp"

#include <stdexcept>
#include <string>

#include "platform/win32/wide_text.hpp"

namespace zvkob::win32 {
namespace {

constexpr UINT answer_message = WM_APP + 1;
constexpr wchar_t answers_class[] = L"ZV-KOB.Answers";

// An answer on its way to the window's thread.
struct Answer {
    std::function<void()> done;
    std::weak_ptr<const void> owner;
};

LRESULT CALLBACK hand_answer_over(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message != answer_message) {
        return DefWindowProcW(window, message, wparam, lparam);
    }
    const std::unique_ptr<Answer> answer(reinterpret_cast<Answer*>(lparam));
    if (!answer->owner.expired()) {
        answer->done();
    }
    return 0;
}

HWND create_answers_window() {
    WNDCLASSEXW type{};
    type.cbSize = sizeof type;
    type.lpfnWndProc = hand_answer_over;
    type.hInstance = GetModuleHandleW(nullptr);
    type.lpszClassName = answers_class;
    RegisterClassExW(&type);  // fails harmlessly when registered already
    return CreateWindowExW(0, answers_class, nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                           type.hInstance, nullptr);
}

// The worker takes the pieces one at a time until the queue is closed. It
// holds the queue itself, so that one left running outlives ZV-KOB's.
DWORD WINAPI work_through(void* held) {
    const std::unique_ptr<std::shared_ptr<WorkQueue>> queue(
        static_cast<std::shared_ptr<WorkQueue>*>(held));
    while (auto work = (*queue)->take()) {
        try {
            (*work)();
        } catch (...) {
            // the piece's own answer says what it found; nothing more to do here
        }
        (*queue)->finished();
    }
    return 0;
}

}  // namespace

Win32BackgroundWork::Win32BackgroundWork()
    : queue_(std::make_shared<WorkQueue>()), answers_(create_answers_window()) {}

Win32BackgroundWork::~Win32BackgroundWork() {
    queue_->close();
    if (worker_ && !queue_->busy()) {
        WaitForSingleObject(worker_.get(), INFINITE);
    }  // else it holds its queue; its answer finds no window
    DestroyWindow(answers_);
}

void Win32BackgroundWork::run(std::function<void()> work, std::function<void()> done,
                              std::weak_ptr<const void> owner) {
    queue_->give([work = std::move(work), done = std::move(done), owner = std::move(owner),
                  window = answers_]() mutable {
        work();
        auto answer = std::make_unique<Answer>(Answer{std::move(done), std::move(owner)});
        if (PostMessageW(window, answer_message, 0, reinterpret_cast<LPARAM>(answer.get()))) {
            answer.release();  // the window's thread owns it now
        }
    });
    if (worker_) {
        return;
    }
    // The thread starts with the first piece: most runs never give one (it
    // reads the node's log, checks a data drive, saves the batch files). A
    // plain Windows thread, as the history's: one started through the C++
    // library keeps about half a MiB more under wine.
    auto held = std::make_unique<std::shared_ptr<WorkQueue>>(queue_);
    worker_ = KernelHandle(CreateThread(nullptr, 0, work_through, held.get(), 0, nullptr));
    if (!worker_) {
        throw std::runtime_error("ZV-KOB could not start its worker thread: " +
                                 system_error_text(GetLastError()));
    }
    held.release();  // the worker's now
}

}  // namespace zvkob::win32
