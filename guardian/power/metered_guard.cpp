#include "guardian/power/metered_guard.hpp"

#include "guardian/power/power_guard.hpp"

namespace zvkob {

bool MeteredGuard::due(std::int64_t now_ms) const {
    return !calling_ && (!last_read_ms_ || now_ms - *last_read_ms_ >= power_reading_every_ms);
}

NetworkAction MeteredGuard::read(bool ticked, bool node_answers, std::optional<bool> network_active,
                                 std::int64_t now_ms) {
    if (!ticked && !rule_.paused()) {
        return NetworkAction::none;
    }
    last_read_ms_ = now_ms;
    const LinkCostReading reading = cost_.read();
    if (!reading.cost && !failure_told_) {
        history_.record("ZV-KOB cannot tell whether the link is metered: " + reading.failure);
        failure_told_ = true;  // told once: it stays so
    }
    const MeteredStep step = rule_.update({.ticked = ticked,
                                           .node_answers = node_answers,
                                           .cost = reading.cost,
                                           .network_active = network_active});
    if (!step.event.empty()) {
        history_.record(step.event);
    }
    calling_ = step.action != NetworkAction::none;
    return step.action;
}

void MeteredGuard::node_is(unsigned long node_id) {
    if (node_id != node_id_) {
        node_id_ = node_id;
        polls_at_answer_ = 0;
        rule_.node_started();
    }
}

void MeteredGuard::answered(NetworkAction action, bool ok, std::string_view failure,
                            std::uint64_t polls_asked) {
    calling_ = false;
    polls_at_answer_ = polls_asked;
    if (const std::string event = rule_.answered(action, ok, failure); !event.empty()) {
        history_.record(event);
    }
}

}  // namespace zvkob
