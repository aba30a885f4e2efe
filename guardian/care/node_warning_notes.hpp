#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "core/care/node_warnings.hpp"

namespace zvkob {

// The node's warnings told so far in the run of this copy's node: its log
// and its RPC may both tell the same one.
class NodeWarningNotes {
public:
    // The text to tell of a warning of the node `node_id`, or none when it
    // was told in this run already.
    std::optional<std::string> heard(unsigned long node_id, std::string_view warning) {
        if (node_id != node_id_) {
            node_id_ = node_id;
            warnings_.node_started();
        }
        return warnings_.heard(warning);
    }

private:
    unsigned long node_id_ = 0;
    NodeWarnings warnings_;
};

}  // namespace zvkob
