#include "guardian/node/node_log.hpp"

#include "core/node_log/node_log_location.hpp"
#include "core/node_log/node_log_session.hpp"

namespace zvkob {

std::string log_command_line(std::string_view started_with, std::string_view data_folder) {
    if (!started_with.empty() || data_folder.empty()) {
        return std::string(started_with);
    }
    return "-datadir=\"" + std::string(data_folder) + "\"";
}

NodeStop how_the_node_stopped(FileSystem& files, const StoppedNode& node) {
    const NodeLogLocation where = node_log_location(
        log_command_line(node.started_with, node.data_folder),
        [&files](std::string_view path) { return files.read_text(path, TextCoding::utf8); });
    if (!where.log_path) {
        return stop_without_log(where.why_none, node.exit_code);
    }
    const std::string& path = *where.log_path;
    const LogSession session = latest_log_session([&](std::size_t last_bytes) {
        const FileEnd end = files.read_end(path, last_bytes);
        return LogTail{end.text, end.whole_file, end.failure};
    });
    if (session.failure.empty() && !session_began_since(session, node.started_ms)) {
        return stop_without_log(path + " has nothing written since the node started",
                                node.exit_code);
    }
    return node_stop_verdict(path, session, node.exit_code);
}

}  // namespace zvkob
