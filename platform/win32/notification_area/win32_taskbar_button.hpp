#pragma once
#include <windows.h>
#include <shobjidl.h>

#include <optional>

#include "platform/taskbar_button.hpp"
#include "platform/win32/owners.hpp"

namespace zvkob::win32 {

// The main window's taskbar button through ITaskbarList3. Windows announces
// the button with the registered message "TaskbarButtonCreated" (which an
// elevated program must let through); until then the progress is kept and
// shown once the button is there. Nothing is shown twice.
class Win32TaskbarButton : public TaskbarButton {
public:
    // The registered message to forward to created().
    static UINT created_message();
    // The message arrived: the button is there (again, after Explorer restarted).
    void created();

    void show(const TaskbarProgress& progress) override;

private:
    void apply();

    ComRef<ITaskbarList3> taskbar_;
    TaskbarProgress wanted_;
    std::optional<TaskbarProgress> shown_;
};

}  // namespace zvkob::win32
