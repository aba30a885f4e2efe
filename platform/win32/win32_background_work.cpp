#include "platform/win32/win32_background_work.hpp"

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

}  // namespace

Win32BackgroundWork::Win32BackgroundWork() : answers_(create_answers_window()) {}

Win32BackgroundWork::~Win32BackgroundWork() {
    worker_.stop(WorkQueue::Waiting::drop, false);  // a piece still running finds no window
    DestroyWindow(answers_);
}

void Win32BackgroundWork::run(std::function<void()> work, std::function<void()> done,
                              std::weak_ptr<const void> owner) {
    worker_.give([work = std::move(work), done = std::move(done), owner = std::move(owner),
                  window = answers_]() mutable {
        work();
        auto answer = std::make_unique<Answer>(Answer{std::move(done), std::move(owner)});
        if (PostMessageW(window, answer_message, 0, reinterpret_cast<LPARAM>(answer.get()))) {
            answer.release();  // the window's thread owns it now
        }
    });
}

}  // namespace zvkob::win32
