#include "platform/win32/notification_area/win32_taskbar_button.hpp"

#include "platform/win32/processes/program_windows.hpp"

namespace zvkob::win32 {
namespace {

TBPFLAG flag_of(TaskbarMark mark) {
    switch (mark) {
        case TaskbarMark::normal:
            return TBPF_NORMAL;
        case TaskbarMark::indeterminate:
            return TBPF_INDETERMINATE;
        case TaskbarMark::error:
            return TBPF_ERROR;
        case TaskbarMark::paused:
            return TBPF_PAUSED;
        case TaskbarMark::none:
            break;
    }
    return TBPF_NOPROGRESS;
}

bool same(const TaskbarProgress& a, const TaskbarProgress& b) {
    return a.mark == b.mark && a.value == b.value;
}

}  // namespace

UINT Win32TaskbarButton::created_message() {
    static const UINT message = RegisterWindowMessageW(L"TaskbarButtonCreated");
    return message;
}

void Win32TaskbarButton::created() {
    if (!taskbar_) {
        if (FAILED(CoCreateInstance(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER,
                                    IID_ITaskbarList3,
                                    reinterpret_cast<void**>(taskbar_.receive()))) ||
            FAILED(taskbar_->HrInit())) {
            taskbar_.reset();
            return;  // no taskbar to show it on: nothing else changes
        }
    }
    shown_.reset();  // a new button shows nothing yet
    apply();
}

void Win32TaskbarButton::show(const TaskbarProgress& progress) {
    wanted_ = progress;
    apply();
}

void Win32TaskbarButton::apply() {
    const HWND window = main_program_window();
    if (!taskbar_ || window == nullptr || (shown_ && same(*shown_, wanted_))) {
        return;
    }
    taskbar_->SetProgressState(window, flag_of(wanted_.mark));
    if (wanted_.mark == TaskbarMark::normal || wanted_.mark == TaskbarMark::error ||
        wanted_.mark == TaskbarMark::paused) {
        taskbar_->SetProgressValue(window, static_cast<ULONGLONG>(wanted_.value), taskbar_full);
    }
    shown_ = wanted_;
}

}  // namespace zvkob::win32
