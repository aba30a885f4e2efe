#include "core/care/keep_awake.hpp"

#include "core/node_state/node_progress_text.hpp"

namespace zvkob {
namespace {

bool needs_the_pc(NodeCondition condition) {
    return condition == NodeCondition::starting || condition == NodeCondition::catching_up;
}

// Why the PC may sleep again, in the words of the history.
std::string why_let_go(const AwakeFacts& facts, std::optional<NodeCondition> last_known) {
    if (facts.closing) {
        return "ZV-KOB closes";
    }
    if (!facts.ticked) {
        return "Keep the PC Awake While Catching Up was switched off";
    }
    if (!facts.node_runs) {
        return "the node has stopped";
    }
    switch (facts.condition.value_or(NodeCondition::unknown)) {
        case NodeCondition::synced:
            return "the node is synced";
        case NodeCondition::stuck:
            return "the node seems stuck";
        case NodeCondition::needs_attention:
            return "the node needs attention";
        case NodeCondition::stopping:
            return "the node is stopping";
        case NodeCondition::network_paused:
            return "the node's network is paused";
        default:
            return last_known ? "nothing has been known of the node for 10 minutes"
                              : "nothing is known of the node";
    }
}

}  // namespace

std::string awake_reason(std::optional<std::int64_t> height) {
    std::string reason = "ZV-KOB keeps this PC awake while the node catches up";
    if (height) {
        reason += " (block " + with_thousands(*height) + ")";
    }
    return reason;
}

std::string holding_event(std::string_view how, std::string_view failure) {
    if (!failure.empty()) {
        return "ZV-KOB could not keep the PC awake while the node catches up: " +
               std::string(failure);
    }
    return "ZV-KOB keeps the PC awake while the node catches up (" + std::string(how) + ").";
}

// A moment of unknown state (a log being replaced, a reading that failed)
// does not let go at once: a sync cut by sleep costs far more than ten
// minutes of waking.
bool KeepAwake::wanted(const AwakeFacts& facts, std::int64_t now_ms) {
    if (!facts.ticked || !facts.node_runs || facts.closing) {
        unknown_since_ms_.reset();
        return false;
    }
    const NodeCondition condition = facts.condition.value_or(NodeCondition::unknown);
    if (condition != NodeCondition::unknown) {
        unknown_since_ms_.reset();
        last_known_ = condition;
        return needs_the_pc(condition);
    }
    if (!holding_) {
        return false;
    }
    if (!unknown_since_ms_) {
        unknown_since_ms_ = now_ms;
    }
    return now_ms - *unknown_since_ms_ < awake_unknown_grace_ms;
}

AwakeStep KeepAwake::update(const AwakeFacts& facts, std::int64_t now_ms) {
    using Action = AwakeStep::Action;
    const bool wanted_now = wanted(facts, now_ms);
    if (!wanted_now) {
        if (!holding_) {
            return {};
        }
        AwakeStep step{Action::let_go, {}, {}};
        if (!refused_) {
            step.event = "ZV-KOB lets the PC sleep again: " + why_let_go(facts, last_known_) + ".";
        }
        holding_ = false;
        refused_ = false;
        last_known_.reset();
        return step;
    }
    if (refused_) {
        return {};
    }
    std::string reason = awake_reason(facts.height);
    if (!holding_) {
        holding_ = true;
        reason_ = reason;
        reason_set_ms_ = now_ms;
        return {Action::hold, std::move(reason), {}};
    }
    if (reason != reason_ && now_ms - reason_set_ms_ >= awake_reason_every_ms) {
        reason_ = reason;
        reason_set_ms_ = now_ms;
        return {Action::refresh, std::move(reason), {}};
    }
    return {};
}

}  // namespace zvkob
