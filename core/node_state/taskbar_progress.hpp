#pragma once
#include "core/node_state/node_progress.hpp"

namespace zvkob {

enum class TaskbarMark { none, normal, indeterminate, error, paused };

// What the taskbar button shows, as data for the platform.
struct TaskbarProgress {
    TaskbarMark mark = TaskbarMark::none;
    int value = 0;  // 0..1000, for normal, error and paused
};

inline constexpr int taskbar_full = 1000;

// `waiting_for_data_folder`: a start waits for the data folder to appear,
// which the window knows and the log cannot tell.
TaskbarProgress taskbar_progress(const NodeProgressState& state, bool waiting_for_data_folder);

}  // namespace zvkob
