#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zvkob {

// "The node warns: Unknown new rules activated (versionbit 28). Newer versions
// of the node may be needed." The last sentence only for the node's signs
// that it is too old for the network's rules.
std::string warning_notice_text(std::string_view warning);

// Whether a warning says the node's software is out of date.
bool tells_outdated_software(std::string_view warning);

// Tells each of the node's warnings once per run of the node, whether its
// RPC or its log told it first: the same warning (its wording aside from
// case, counts and a "Warning: " caption) is not told again until the node
// starts anew.
class NodeWarnings {
public:
    void node_started() { told_.clear(); }
    // A warning as the node gave it: the text of its quiet notice and
    // history line, or none when it is empty or already told.
    std::optional<std::string> heard(std::string_view warning);

private:
    std::vector<std::string> told_;
};

}  // namespace zvkob
