#pragma once
#include "core/node_state/taskbar_progress.hpp"

namespace zvkob {

// The main window's taskbar button, which can show a progress bar: normal at
// a value, indeterminate, red for an error, yellow while paused, or none.
class TaskbarButton {
public:
    virtual ~TaskbarButton() = default;
    virtual void show(const TaskbarProgress& progress) = 0;
};

}  // namespace zvkob
