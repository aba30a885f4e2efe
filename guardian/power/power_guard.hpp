#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "core/power/node_stop_time.hpp"
#include "core/power/power_stop_rule.hpp"
#include "platform/file_system.hpp"
#include "platform/history.hpp"
#include "platform/power_source.hpp"
#include "platform/record_writer.hpp"

namespace zvkob {

// The power source is read this often while the battery stop is on, on the
// watcher's tick, and at once at every power event.
inline constexpr std::int64_t power_reading_every_ms = 30'000;

// The node as the battery stop sees it at a reading.
struct PowerNodeView {
    bool ticked = false;     // Stop Node Before the Battery Runs Out
    bool node_runs = false;  // this copy's node runs and nobody has asked it to stop
    bool synced = false;     // its state shown is synced (the default stop time is its)
};

// What a reading asks of the window.
struct PowerOrder {
    PowerStep::Action action = PowerStep::Action::none;
    std::string event;  // stop_node: the history line and the notice's text
};

// The node's stop record, read late: it is there but could not be read.
inline constexpr const char* stop_record_unread_note =
    "; ZV-KOB reads it again later and writes nothing over it meanwhile.";

// Stop Node Before the Battery Runs Out, on the guardian's side: reads the
// power source, keeps the last reading for Keep the PC Awake and the
// tooltip, and asks the stop rule what to do. With the tick off it reads
// nothing and keeps nothing.
//
// The node's stops are measured from its log as the node's progress reads
// it (nothing reads the log for this alone): a stop's done line is mostly
// read at the node's next start, from the end of the log. They are kept in
// the record beside the history (node_stop_record_path), written only while
// the tick is on; stops measured while it is off are written once it is
// switched on. A record that is there but cannot be read now is never
// written over: the stops measured meanwhile wait beside it until it reads.
class PowerGuard {
public:
    PowerGuard(PowerSource& source, History& history, FileSystem& files, RecordWriter& records)
        : source_(source), history_(history), files_(files), records_(records) {}

    // A reading is due: none yet, or the last one 30 s ago.
    bool due(std::int64_t now_ms) const;
    // Reads the power source now and decides.
    PowerOrder read(const PowerNodeView& view, std::int64_t now_ms);

    // Lines of the node's log that tell its stop time (stop_time_lines).
    void take_log(std::span<const std::string> lines, bool ticked);

    // The tick changed; switched off, the last reading and any stop are forgotten.
    void switched(bool on);
    // Windows said the PC goes to sleep: the history says so while the tick is on.
    void suspending(std::int64_t now_ms);
    // Windows said the PC woke up (it says so twice): the history says so once.
    void woke();
    // This copy's node ended; `as_asked`: it stopped as ZV-KOB asked it to.
    void node_gone(bool as_asked) { rule_.node_gone(as_asked); }
    // The stop the last reading asked for is asked of `program` ("QT" or
    // "DAEMON"): mains power starts that program again, and only that one.
    void stop_asked_of(std::string_view program) { stopped_program_ = program; }
    const std::string& stopped_program() const { return stopped_program_; }
    // That stop could not be asked: mains power starts nothing it did not
    // stop, and the next reading that calls for it asks again. Returns the
    // history line and the notice's text.
    std::string stop_failed();
    // The user stopped or started the node: it is theirs, and a stop of the
    // battery's before is forgotten, whatever battery episodes follow. A
    // start asked while the node runs leaves a stop owed to it owed.
    void user_chose() { rule_.node_started(); }
    void user_started() { rule_.users_start(); }
    // The mains restart was called off before it started: owed again.
    void restart_withdrawn() { rule_.restart_withdrawn(); }

    // The PC runs on battery by the last reading (none while the tick is off).
    bool on_battery() const { return last_ && zvkob::on_battery(*last_); }
    // The node's status label's line while on battery, or "".
    std::string tooltip_line(bool node_runs, bool synced) const;

private:
    ExpectedStop expected(bool synced) const { return stop_times_.expected(synced); }
    bool load_record();
    void keep_record();

    PowerSource& source_;
    History& history_;
    FileSystem& files_;
    RecordWriter& records_;
    PowerStopRule rule_;
    NodeStopTimes stop_times_;
    bool record_loaded_ = false;
    bool record_behind_ = false;  // a stop was measured that the record lacks
    bool record_failure_told_ = false;
    bool record_unread_told_ = false;
    std::string stopped_program_;
    std::string failed_event_;  // of the last stop asked
    std::optional<PowerReading> last_;
    std::optional<std::int64_t> last_read_ms_;
    bool failure_told_ = false;
    bool asleep_ = false;
};

}  // namespace zvkob
