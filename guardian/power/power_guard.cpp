#include "guardian/power/power_guard.hpp"

#include "core/power/power_words.hpp"

namespace zvkob {

bool PowerGuard::due(std::int64_t now_ms) const {
    return !last_read_ms_ || now_ms - *last_read_ms_ >= power_reading_every_ms;
}

PowerOrder PowerGuard::read(const PowerNodeView& view, std::int64_t now_ms) {
    if (!view.ticked) {
        switched(false);
        return {};
    }
    last_read_ms_ = now_ms;
    if (load_record() && record_behind_) {
        keep_record();  // stops measured while the record could not be read
    }
    const std::optional<PowerReading> reading = source_.read();
    if (!reading) {
        // Told once: a PC whose power status cannot be read stays so.
        if (!failure_told_) {
            history_.record("ZV-KOB cannot read the PC's power source: " + source_.failure());
            failure_told_ = true;
        }
        return {};
    }
    failure_told_ = false;
    last_ = reading;
    const ExpectedStop expected_stop = expected(view.synced);
    const PowerStep step = rule_.reading(
        *reading,
        {.ticked = true, .node_runs = view.node_runs, .expected_stop_ms = expected_stop.ms},
        now_ms);
    PowerOrder order{step.action, {}};
    if (step.action == PowerStep::Action::stop_node) {
        order.event = battery_stop_event(*reading, step.call, expected_stop);
        failed_event_ = battery_stop_failed_event(*reading, step.call);
    } else if (step.action == PowerStep::Action::start_node) {
        order.event = mains_restart_event();
    }
    return order;
}

// Read once; a record that is there but cannot be read now (a viewer or a
// scanner holding it) is read again at the next need. The stops measured
// meanwhile are added to it once it reads, so the ten it keeps are never
// written over by a record that could not be read.
bool PowerGuard::load_record() {
    if (record_loaded_) {
        return true;
    }
    const std::string path = node_stop_record_path(history_.path());
    const OwnFile record = files_.read_own_file(path);
    if (!record.text && !record.failure.empty()) {
        if (!record_unread_told_) {  // told once, until it reads
            history_.record("ZV-KOB cannot read the node's stop times in " + path + ": " +
                            record.failure + stop_record_unread_note);
            record_unread_told_ = true;
        }
        return false;
    }
    record_loaded_ = true;
    if (record.text) {
        stop_times_.take_record(*record.text);
    }
    return true;
}

void PowerGuard::keep_record() {
    if (!load_record()) {
        return;  // written once the record reads
    }
    const std::string path = node_stop_record_path(history_.path());
    if (const Outcome kept = records_.replace_whole(path, stop_times_.record()); !kept) {
        // Told once: the stops are still measured, only not kept past this run.
        if (!record_failure_told_) {
            history_.record("ZV-KOB cannot keep the node's stop times in " + path + ": " +
                            kept.reason());
            record_failure_told_ = true;
        }
        return;
    }
    record_behind_ = false;
    record_failure_told_ = false;
}

void PowerGuard::take_log(std::span<const std::string> lines, bool ticked) {
    if (lines.empty()) {
        return;
    }
    load_record();
    const std::vector<std::string_view> views(lines.begin(), lines.end());
    record_behind_ = stop_times_.take(views) || record_behind_;
    if (ticked && record_behind_) {
        keep_record();
    }
}

std::string PowerGuard::stop_failed() {
    rule_.stop_failed();
    return failed_event_;
}

void PowerGuard::switched(bool on) {
    rule_.switched(on);
    if (on && record_behind_) {
        keep_record();
    }
    if (!on) {
        last_.reset();
        last_read_ms_.reset();
        failure_told_ = false;
        asleep_ = false;
    }
}

void PowerGuard::suspending(std::int64_t now_ms) {
    rule_.suspending(now_ms);
    asleep_ = true;
    history_.record(sleep_event);
}

void PowerGuard::woke() {
    if (asleep_) {
        asleep_ = false;
        history_.record(wake_event);
    }
}

std::string PowerGuard::tooltip_line(bool node_runs, bool synced) const {
    if (!last_) {
        return {};
    }
    return battery_tooltip_line(
        *last_, {.ticked = true,
                 .node_runs = node_runs,
                 .stopped_for_power = rule_.stopped_for_power() || rule_.stop_asked(),
                 .expected_stop_ms = expected(synced).ms});
}

}  // namespace zvkob
