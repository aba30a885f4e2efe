#include "guardian/power/metered_guard.hpp"

#include "guardian/power/power_guard.hpp"

namespace zvkob {

bool MeteredGuard::due(std::int64_t now_ms) const {
    return !calling_ && (!last_read_ms_ || now_ms - *last_read_ms_ >= power_reading_every_ms ||
                         waits_for_state_);
}

void MeteredGuard::record(const std::string& event) {
    if (!event.empty()) {
        history_.record(event);
    }
}

NetworkAction MeteredGuard::look(const MeteredFacts& node, std::int64_t now_ms) {
    if (!node.ticked && !rule_.paused() && !rule_.settling()) {
        waits_for_state_ = false;
        return NetworkAction::none;
    }
    if (!last_read_ms_ || now_ms - *last_read_ms_ >= power_reading_every_ms) {
        last_read_ms_ = now_ms;
        const LinkCostReading reading = cost_.read();
        if (!reading.cost && !failure_told_) {
            history_.record("ZV-KOB cannot tell whether the link is metered: " + reading.failure);
            failure_told_ = true;  // told once: it stays so
        }
        cost_now_ = reading.cost;
        cost_failures_ = reading.cost ? 0 : cost_failures_ + 1;
    }
    // Until a state is heard after the last call, the decision waits for it
    // at each look, with this reading's cost.
    waits_for_state_ = node.state_followed && node.node_answers && !node.network_active;
    MeteredFacts facts = node;
    facts.cost = cost_now_;
    facts.cost_lost = cost_failures_ >= 2;
    const MeteredStep step = rule_.update(facts);
    record(step.event);
    calling_ = step.action != NetworkAction::none;
    return step.action;
}

void MeteredGuard::node_is(const NodeRun& run) {
    if (!(run == node_)) {
        node_ = run;
        polls_at_answer_ = 0;
        rule_.node_started();
    }
    if (run.id != 0 && !remembered_settled_) {
        settle_remembered(run);
    }
}

// A pause an earlier start of ZV-KOB could not resume as it closed is
// ZV-KOB's own again on that same run of the node (resumed as its own, or
// kept while the link is metered); any other run started with its network on.
void MeteredGuard::settle_remembered(const NodeRun& run) {
    remembered_settled_ = true;
    const std::string path = network_pause_record_path(history_.path());
    const OwnFile file = files_.read_own_file(path);
    if (!file.text) {
        return;  // none, or unreadable: nothing is resumed that is not known to be ZV-KOB's
    }
    if (network_pause_of_record(*file.text) == std::optional(run)) {
        rule_.take_over_pause();
        history_.record(
            "The node's network is still paused as ZV-KOB paused it before it last closed: ZV-KOB "
            "takes that pause over again.");
    }
    records_.remove(path);
}

void MeteredGuard::answered(NetworkAction action, NetworkOutcome outcome, std::string_view failure,
                            std::uint64_t polls_asked) {
    calling_ = false;
    polls_at_answer_ = polls_asked;
    record(rule_.answered(action, outcome, failure));
    waits_for_state_ = rule_.settling();  // settled by the next state read
}

void MeteredGuard::closed(std::optional<NetworkOutcome> resumed, std::string_view failure,
                          const NodeRun& run) {
    if (resumed == NetworkOutcome::done || resumed == NetworkOutcome::already) {
        rule_.resuming(ResumeWhy::closing);
        record(rule_.answered(NetworkAction::resume, *resumed, failure));
        return;
    }
    if (resumed) {
        history_.record("ZV-KOB could not resume the node's network: " + std::string(failure));
    }
    history_.record(
        "ZV-KOB closes with the node's network paused on a metered link: it stays paused until "
        "the node restarts.");
    const std::string path = network_pause_record_path(history_.path());
    const Outcome kept = records_.replace_whole(path, network_pause_record(run));
    history_.record(kept ? "ZV-KOB remembers that pause: its next start resumes it, if this run "
                           "of the node still runs then."
                         : "ZV-KOB cannot remember that pause in " + path + ": " + kept.reason());
}

}  // namespace zvkob
