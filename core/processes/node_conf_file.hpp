#pragma once
#include <map>
#include <string>
#include <string_view>

#include "core/processes/node_command_line.hpp"

namespace zvkob {

// A node's configuration file: its top-level settings and those of each
// section ([main], [test], [testnet4], [signet], [regtest]; "test.name=value"
// at the top level belongs to [test] too). As in the node, the first value of
// a name wins, and names are read like options (noX is X negated).
struct NodeConf {
    NodeOptions top_level;
    std::map<std::string, NodeOptions, std::less<>> sections;
};

// Reads leniently: a byte-order mark, CRLF, comments from '#', spaces around
// names and values, one pair of double quotes around a value, and lines
// without '=' (ignored).
NodeConf read_node_conf(std::string_view text);

}  // namespace zvkob
