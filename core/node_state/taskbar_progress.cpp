#include "core/node_state/taskbar_progress.hpp"

#include <algorithm>

namespace zvkob {
namespace {

int sync_value(const NodeProgressState& state) {
    const double fraction = std::clamp(state.sync_progress.value_or(0.0), 0.0, 1.0);
    return static_cast<int>(fraction * taskbar_full);
}

// A paused or red bar needs a length: the sync's, or full when it is not known.
int bar_value(const NodeProgressState& state) {
    return state.sync_progress ? sync_value(state) : taskbar_full;
}

}  // namespace

TaskbarProgress taskbar_progress(const NodeProgressState& state, bool waiting_for_data_folder) {
    if (waiting_for_data_folder || state.condition == NodeCondition::network_paused) {
        return {TaskbarMark::paused, bar_value(state)};
    }
    switch (state.condition) {
        case NodeCondition::catching_up:
            return state.sync_progress ? TaskbarProgress{TaskbarMark::normal, sync_value(state)}
                                       : TaskbarProgress{TaskbarMark::indeterminate, 0};
        case NodeCondition::starting:
        case NodeCondition::stopping:
            return {TaskbarMark::indeterminate, 0};
        case NodeCondition::stuck:
        case NodeCondition::needs_attention:
            return {TaskbarMark::error, bar_value(state)};
        default:
            return {TaskbarMark::none, 0};
    }
}

}  // namespace zvkob
