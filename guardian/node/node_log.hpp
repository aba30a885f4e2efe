#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/node_log/node_stop_verdict.hpp"
#include "platform/file_system.hpp"

namespace zvkob {

// What is known of a node that has stopped, to read its own log by.
struct StoppedNode {
    // The line it was started with: its batch file's line, or its own command
    // line as Windows shows it; empty when neither is known.
    std::string started_with;
    // ZV-KOB's data folder setting, for a node whose command line is not known.
    std::string data_folder;
    std::int64_t started_ms = 0;  // when its process was created (UTC)
    std::optional<unsigned long> exit_code;
};

// The line to find the node's log by: the line it was started with, else the
// data folder of the settings; with neither, no -datadir at all, so that the
// configuration file's datadir= is the node's rule. Nothing is guessed.
std::string log_command_line(std::string_view started_with, std::string_view data_folder);

// How the node stopped, from the latest run in its own log (wherever its
// command line, configuration file and network put it) and its exit code.
// The log is opened, its end read and closed at once; at most 1 MiB is read.
NodeStop how_the_node_stopped(FileSystem& files, const StoppedNode& node);

}  // namespace zvkob
