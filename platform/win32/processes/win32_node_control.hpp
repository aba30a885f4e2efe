#pragma once
#include "platform/node_control.hpp"

namespace zvkob::win32 {

// Finds node processes by a snapshot of the process list, holds them by
// their handles, and asks them to stop: Ctrl+C on a console program's
// console, WM_CLOSE to a windowed program's windows.
class Win32NodeControl : public NodeControl {
public:
    ProcessList processes_named(std::string_view image_name) override;
    Holding hold(unsigned long process_id) override;
    std::optional<std::string> command_line(unsigned long process_id) override;
    ProcessOwner owner(unsigned long process_id) override;
    Outcome press_ctrl_c(unsigned long process_id, const HeldProcess* interpreter) override;
    bool end_left_interpreter(HeldProcess& interpreter) override;
    Outcome close_windows(unsigned long process_id) override;
    bool shows_a_window(unsigned long process_id) override;
};

}  // namespace zvkob::win32
