#include "guardian/node/progress_watch.hpp"

#include "core/node_log/node_log_location.hpp"
#include "core/node_state/node_progress_line.hpp"
#include "core/node_state/node_progress_text.hpp"
#include "core/power/node_stop_time.hpp"
#include "guardian/node/node_log.hpp"

namespace zvkob {
namespace {

// The node's clock and Windows' record of its start, both to the second,
// agree within this.
constexpr std::int64_t start_clock_slack_ms = 1'000;

}  // namespace

ProgressWatch::ProgressWatch(unsigned long node_id, std::string started_with,
                             std::string data_folder, Clock& clock,
                             std::optional<std::int64_t> seen_starting_ms)
    : node_id_(node_id),
      started_with_(std::move(started_with)),
      data_folder_(std::move(data_folder)),
      progress_([&clock](std::int64_t utc_ms) { return clock.utc_offset_minutes_at(utc_ms); }),
      seen_starting_ms_(seen_starting_ms) {
    if (seen_starting_ms) {
        progress_.node_started(*seen_starting_ms);
    }
}

// Once per node: from its command line or the data folder of the settings,
// and the configuration file either names.
bool ProgressWatch::find_the_log(FileSystem& files, std::int64_t now_ms) {
    if (!log_looked_for_) {
        log_looked_for_ = true;
        const NodeLogLocation where = node_log_location(
            log_command_line(started_with_, data_folder_),
            [&files](std::string_view path) { return files.read_text(path, TextCoding::utf8); });
        log_path_ = where.log_path;
        if (!log_path_) {
            progress_.read_failed(where.why_none, now_ms);
        }
    }
    return log_path_.has_value();
}

bool ProgressWatch::written_before_start(const ProgressLine& line) const {
    if (!seen_starting_ms_ || !line.utc_ms) {
        return false;
    }
    const std::int64_t start_second = *seen_starting_ms_ - *seen_starting_ms_ % 1000;
    return *line.utc_ms < start_second - start_clock_slack_ms;
}

// Each start of the node writes where its RPC listens and its new cookie
// anew. Of a node this copy saw start, only this run's lines count: none
// written before the start, and none after an earlier run's version line
// until the next one. So the cookie line of a run that crashed just before
// this start never opens the way to its dead cookie and port.
void ProgressWatch::take_rpc_facts(std::span<const std::string_view> lines) {
    const std::lock_guard lock(rpc_mutex_);
    log_read_ = true;
    for (const std::string_view line : lines) {
        const ProgressLine read = read_progress_line(line);
        if (read.kind == ProgressLineKind::session_start) {
            earlier_run_ = written_before_start(read);
            rpc_facts_.new_run();
            ++rpc_facts_generation_;
            rpc_endpoint_.reset();
            continue;
        }
        if (earlier_run_ || written_before_start(read)) {
            continue;
        }
        if (rpc_facts_.feed(line)) {
            ++rpc_facts_generation_;
            rpc_endpoint_.reset();
        }
    }
}

// The configuration file is read outside the lock, so that a slow drive holds
// up the RPC's poll only, never the log's reading.
ProgressWatch::RpcToAsk ProgressWatch::rpc_to_ask(FileSystem& files) {
    std::unique_lock lock(rpc_mutex_);
    RpcToAsk ask;
    // A node this copy saw start writes a new cookie after it has bound its
    // port: until its log says so, the cookie there may be an earlier run's,
    // and the port another program's.
    if (seen_starting_ms_ && log_read_ && !rpc_facts_.cookie_path()) {
        ask.not_yet = "waiting for the node's log to name its new cookie";
    }
    if (rpc_endpoint_) {
        ask.endpoint = *rpc_endpoint_;
        return ask;
    }
    const RpcLogFacts facts = rpc_facts_;
    const std::uint64_t generation = rpc_facts_generation_;
    lock.unlock();
    ask.endpoint = zvkob::rpc_endpoint(
        log_command_line(started_with_, data_folder_),
        [&files](std::string_view path) { return files.read_text(path, TextCoding::utf8); }, facts);
    lock.lock();
    if (generation == rpc_facts_generation_) {
        rpc_endpoint_ = ask.endpoint;
    }
    return ask;
}

ProgressReading ProgressWatch::read(FileSystem& files, std::int64_t now_ms,
                                    std::optional<std::int64_t> woke_ms) {
    ProgressReading reading;
    if (woke_ms) {
        progress_.woke(*woke_ms);
    }
    if (find_the_log(files, now_ms)) {
        OpenedFile opened = files.open_shared(*log_path_);
        if (opened.file) {
            const NewLogLines& lines = follower_.poll(*opened.file);
            progress_.feed(lines.lines, now_ms);
            take_rpc_facts(lines.lines);
            reading.stop_lines = stop_time_lines(lines.lines);
            reading.reading_event = log_reading_event(lines);
        } else {
            progress_.read_failed(*log_path_ + " cannot be read: " + opened.failure, now_ms);
        }
    }
    reading.state = progress_.state(now_ms);
    reading.news = progress_.take_news();
    return reading;
}

}  // namespace zvkob
