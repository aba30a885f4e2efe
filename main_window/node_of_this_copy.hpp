#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/node_control.hpp"

namespace zvkob {

// The node of this copy among the running processes of its image name, or
// why it cannot be told (then nothing is stopped: better than another copy's
// node).
struct NodeIdentity {
    unsigned long id = 0;
    std::string why_not;  // empty when found
};

// The one ZV-KOB started (a child of the interpreter it started and keeps),
// else the one whose command line holds this copy's data folder, or, with no
// data folder set, the one that names no -datadir at all.
NodeIdentity node_of_this_copy(const std::vector<RunningProcess>& running,
                               std::optional<unsigned long> started_interpreter,
                               std::string_view data_folder, std::string_view image_name);

}  // namespace zvkob
