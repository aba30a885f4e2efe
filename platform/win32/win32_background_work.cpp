#include "platform/win32/win32_background_work.hpp"

#include <algorithm>

namespace zvkob::win32 {
namespace {

constexpr UINT answer_message = WM_APP + 1;
constexpr wchar_t answers_class[] = L"ZV-KOB.Answers";

// An answer on its way to the window's thread.
using Answer = std::function<void()>;

LRESULT CALLBACK hand_answer_over(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message != answer_message) {
        return DefWindowProcW(window, message, wparam, lparam);
    }
    const std::unique_ptr<Answer> answer(reinterpret_cast<Answer*>(lparam));
    (*answer)();
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

Win32BackgroundWork::Win32BackgroundWork(EventGate& events)
    : BackgroundWork(events), answers_(create_answers_window()) {}

Win32BackgroundWork::~Win32BackgroundWork() {
    for (WorkerThread& lane : lanes_) {
        lane.stop(WorkQueue::Waiting::drop, false);  // a piece still running finds no window
    }
    DestroyWindow(answers_);
}

bool Win32BackgroundWork::finish_within(std::chrono::milliseconds longest) {
    for (WorkerThread& lane : lanes_) {
        lane.stop(WorkQueue::Waiting::drop, false);  // every lane is closed before any wait
    }
    const auto deadline = std::chrono::steady_clock::now() + longest;
    bool all_ended = true;
    for (WorkerThread& lane : lanes_) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        all_ended = lane.stop_within(std::max(left, std::chrono::milliseconds(0))) && all_ended;
    }
    return all_ended;
}

void Win32BackgroundWork::hand_over(Lane lane, std::function<void()> work,
                                    std::function<void()> answer_then,
                                    std::function<void()> if_dropped) {
    lanes_[static_cast<std::size_t>(lane)].give(
        [work = std::move(work), answer_then = std::move(answer_then),
         window = answers_]() mutable {
            work();
            auto answer = std::make_unique<Answer>(std::move(answer_then));
            if (PostMessageW(window, answer_message, 0, reinterpret_cast<LPARAM>(answer.get()))) {
                answer.release();  // the window's thread owns it now
            }
        },
        std::move(if_dropped));
}

}  // namespace zvkob::win32
