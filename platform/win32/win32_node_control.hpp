#pragma once
#include "platform/node_control.hpp"

namespace zvkob::win32 {

// Lists node processes through Windows Management Instrumentation and asks
// them to stop: Ctrl+C on a console program's console, WM_CLOSE to a
// windowed program's windows. COM must be initialised on the calling thread.
class Win32NodeControl : public NodeControl {
public:
    ProcessList processes_named(std::string_view image_name) override;
    Outcome press_ctrl_c(unsigned long process_id) override;
    Outcome close_windows(unsigned long process_id) override;
};

}  // namespace zvkob::win32
