#pragma once
#include <cstdint>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/node_log/log_follower.hpp"
#include "core/node_state/node_progress.hpp"
#include "core/node_state/node_progress_line.hpp"
#include "core/node_rpc/rpc_endpoint.hpp"
#include "platform/clock.hpp"
#include "platform/file_system.hpp"

namespace zvkob {

// What one reading of the node's log found.
struct ProgressReading {
    NodeProgressState state;
    ProgressNews news;
    std::string reading_event;  // the reading began anew (a shrink, a jump ahead), or empty
    // What tells the node's stop time, of any run (stop_time_lines).
    std::vector<std::string> stop_lines;
};

// The node of this copy at a glance: where its log is, what it has added
// since the last reading, and what that says of its sync. It belongs to one
// node process; the worker reads with it, one reading at a time.
class ProgressWatch {
public:
    // `started_with` is the line the node was started with (or empty, then
    // the data folder of the settings is used). `seen_starting`: this copy
    // saw the node start, so the log's earlier runs are not its own.
    ProgressWatch(unsigned long node_id, std::string started_with, std::string data_folder,
                  Clock& clock, std::optional<std::int64_t> seen_starting_ms);

    unsigned long node_id() const { return node_id_; }
    // The log was looked for and there is none: a reading touches no file.
    bool has_no_log() const { return log_looked_for_ && !log_path_; }

    // On the worker: opens the log, reads what is new, closes it. `woke_ms`:
    // the PC woke from sleep then, since the last reading.
    ProgressReading read(FileSystem& files, std::int64_t now_ms,
                         std::optional<std::int64_t> woke_ms = std::nullopt);

    // On the RPC's lane, while the log's lane may be reading: where the
    // node's RPC listens and its cookie, from what its log of this run said
    // so far, then its command line and configuration file (worked out again
    // only once the log tells more); and why it is not to be asked yet, or
    // empty.
    struct RpcToAsk {
        RpcEndpoint endpoint;
        std::string not_yet;
    };
    RpcToAsk rpc_to_ask(FileSystem& files);

private:
    bool find_the_log(FileSystem& files, std::int64_t now_ms);
    void take_rpc_facts(std::span<const std::string_view> lines);
    bool written_before_start(const ProgressLine& line) const;

    unsigned long node_id_;
    std::string started_with_;
    std::string data_folder_;
    std::optional<std::string> log_path_;
    bool log_looked_for_ = false;
    LogFollower follower_;
    NodeProgress progress_;
    std::optional<std::int64_t> seen_starting_ms_;
    bool earlier_run_ = false;  // the lines read last are of a run before this one

    // What the log says of the RPC: written by the log's reading, read by the
    // RPC's poll on another lane, so guarded.
    std::mutex rpc_mutex_;
    bool log_read_ = false;  // the log was opened at least once
    RpcLogFacts rpc_facts_;
    std::uint64_t rpc_facts_generation_ = 0;   // counts what the log told
    std::optional<RpcEndpoint> rpc_endpoint_;  // none until asked, or once the log told more
};

}  // namespace zvkob
