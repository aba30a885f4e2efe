#pragma once
#include <string>

#include "core/care/help_report.hpp"
#include "platform/file_system.hpp"

namespace zvkob {

// Where the files of a report for help are.
struct HelpReportSources {
    std::string started_with;  // the line the node was started with, or empty
    std::string data_folder;   // ZV-KOB's setting, for a node whose line is not known
    std::string history_path;
};

// On the worker: the end of the node's log (found as Keep Node Running finds
// it, at most 1 MiB) and of the history with its older file, shared with
// whoever writes them.
HelpReportFiles read_for_help_report(FileSystem& files, const HelpReportSources& sources);

}  // namespace zvkob
