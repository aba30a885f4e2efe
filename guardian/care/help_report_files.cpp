#include "guardian/care/help_report_files.hpp"

#include "core/node_log/node_log_location.hpp"
#include "core/node_log/node_log_session.hpp"
#include "guardian/node/node_log.hpp"

namespace zvkob {
namespace {

// The history moves aside at 1 MiB; a viewer holding it may let it grow a little beyond.
constexpr std::size_t history_most_read = 2 << 20;

std::string older_history(std::string_view history_path) {
    std::string path(history_path);
    const std::size_t dot = path.rfind(".log");
    return dot == std::string::npos ? std::string() : path.substr(0, dot) + ".old.log";
}

}  // namespace

HelpReportFiles read_for_help_report(FileSystem& files, const HelpReportSources& sources) {
    const NodeLogLocation where = node_log_location(
        log_command_line(sources.started_with, sources.data_folder),
        [&files](std::string_view path) { return files.read_text(path, TextCoding::utf8); });
    HelpReportFiles read;
    read.network = network_name(where.network);
    if (where.log_path) {
        read.log_path = *where.log_path;
        const FileEnd end = files.read_end(read.log_path, log_most_read);
        if (end.failure.empty()) {
            read.log_text = end.text;
            read.log_from_start = end.whole_file;
        } else {
            read.log_missing = read.log_path + " cannot be read: " + end.failure;
        }
    } else {
        read.log_missing = "ZV-KOB finds no log: " + where.why_none;
    }
    if (const std::string older = older_history(sources.history_path); !older.empty()) {
        const FileEnd end = files.read_end(older, history_most_read);
        read.history_text = end.failure.empty() ? end.text : std::string();
    }
    const FileEnd now = files.read_end(sources.history_path, history_most_read);
    if (now.failure.empty()) {
        read.history_text += now.text;
    }
    return read;
}

}  // namespace zvkob
