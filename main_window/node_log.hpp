#pragma once
#include <cstdint>
#include <string>

#include "platform/file_system.hpp"

namespace zvkob {

// What the node's own log says about how it stopped.
struct StopVerdict {
    bool clean = false;
    std::string why;         // in words, naming the log
    std::string last_lines;  // the log's last lines, when it was read
};

// The node writes debug.log in its data folder, or, for a test network, in a
// folder below it: the newest of them counts, and only when written while
// the node ran (from a few seconds before it was seen running). A clean stop ends it with
// "Shutdown: done". Only the end of the file is read, however large it is.
StopVerdict how_the_node_stopped(FileSystem& files, const std::string& data_folder,
                                 std::int64_t running_since_ms);

}  // namespace zvkob
