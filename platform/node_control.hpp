#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "core/outcome.hpp"

namespace zvkob {

// A running process as the system lists it.
struct RunningProcess {
    unsigned long id = 0;
    unsigned long parent_id = 0;
    std::string command_line;
};

// The processes with an image name, or why the system could not list them.
struct ProcessList {
    std::vector<RunningProcess> processes;
    std::string failure;  // empty when listed
};

// Asking a node program to stop the way it handles itself. Nothing here
// ever ends a process.
class NodeControl {
public:
    virtual ~NodeControl() = default;
    virtual ProcessList processes_named(std::string_view image_name) = 0;
    // Ctrl+C on the console the process runs in.
    virtual Outcome press_ctrl_c(unsigned long process_id) = 0;
    // WM_CLOSE to each top-level window of the process.
    virtual Outcome close_windows(unsigned long process_id) = 0;
};

}  // namespace zvkob
