#include "core/power/metered_pause.hpp"

#include <charconv>
#include <utility>

#include "core/windows_path.hpp"

namespace zvkob {
namespace {

constexpr const char* paused_event = "The link is metered: ZV-KOB paused the node's network.";
constexpr const char* switched_on_event =
    "The node's network was switched on again, not by ZV-KOB: it stays on while the link is "
    "metered.";

std::string pause_failed_event(std::string_view failure) {
    return "The link is metered, but ZV-KOB could not pause the node's network: " +
           std::string(failure);
}

}  // namespace

bool is_metered(std::uint32_t cost) {
    constexpr std::uint32_t costing = link_cost::fixed | link_cost::variable |
                                      link_cost::over_data_limit | link_cost::roaming |
                                      link_cost::approaching_data_limit;
    return (cost & costing) != 0;
}

std::string resumed_event(ResumeWhy why) {
    switch (why) {
        case ResumeWhy::switched_off:
            return "Pause the Node's Network on Metered Links was switched off: ZV-KOB resumed "
                   "the node's network.";
        case ResumeWhy::cost_unknown:
            return "ZV-KOB can no longer tell whether the link is metered: it resumed the node's "
                   "network.";
        case ResumeWhy::progress_off:
            return "Show the Node's Progress was switched off, so ZV-KOB no longer hears the "
                   "node's state: it resumed the node's network.";
        case ResumeWhy::closing:
            return "ZV-KOB closes: it resumed the node's network.";
        case ResumeWhy::no_longer_metered:
            break;
    }
    return "The link is no longer metered: ZV-KOB resumed the node's network.";
}

MeteredStep MeteredPause::update(const MeteredFacts& facts) {
    if (paused_ && !facts.state_followed) {
        return resume(ResumeWhy::progress_off);  // it could not be followed any more
    }
    if (!facts.node_answers) {
        return {};
    }
    if (settling_ != NetworkAction::none) {
        if (!facts.network_active) {
            return {};  // unknown: the next state read settles it
        }
        if (MeteredStep settled = settle(*facts.network_active); !settled.event.empty()) {
            return settled;
        }
    }
    const bool metered = facts.cost && is_metered(*facts.cost);
    if (facts.cost && !metered) {
        hold_off_ = false;
    }
    if (paused_) {
        return while_paused(facts, metered);
    }
    // An unknown state is not "active": the network may be the user's pause.
    if (facts.ticked && metered && facts.network_active == true && !hold_off_) {
        return {NetworkAction::pause, {}};
    }
    return {};
}

// An unknown state is not "switched on": ZV-KOB's pause is resumed as its own.
MeteredStep MeteredPause::while_paused(const MeteredFacts& facts, bool metered) {
    if (facts.network_active == true) {
        paused_ = false;
        hold_off_ = true;
        return {NetworkAction::none, switched_on_event};
    }
    if (!facts.ticked) {
        return resume(ResumeWhy::switched_off);
    }
    if (!facts.cost) {
        return facts.cost_lost ? resume(ResumeWhy::cost_unknown) : MeteredStep{};
    }
    return metered ? MeteredStep{} : resume(ResumeWhy::no_longer_metered);
}

MeteredStep MeteredPause::resume(ResumeWhy why) {
    why_ = why;
    return {NetworkAction::resume, {}};
}

// A call that went without an answer is settled by the node's state read
// after it: a pause that took is ZV-KOB's, one that did not could not be made.
MeteredStep MeteredPause::settle(bool active) {
    const NetworkAction call = std::exchange(settling_, NetworkAction::none);
    if (call == NetworkAction::pause) {
        return {NetworkAction::none,
                answered(call, active ? NetworkOutcome::refused : NetworkOutcome::done,
                         settling_failure_)};
    }
    if (active) {
        return {NetworkAction::none, answered(call, NetworkOutcome::done, {})};
    }
    return {};  // still paused: resumed again below
}

std::string MeteredPause::answered(NetworkAction action, NetworkOutcome outcome,
                                   std::string_view failure) {
    if (outcome == NetworkOutcome::unknown) {
        settling_ = action;
        settling_failure_ = failure;
        return "";
    }
    if (action == NetworkAction::pause) {
        if (outcome == NetworkOutcome::already || outcome == NetworkOutcome::not_asked) {
            return "";  // paused by someone else, or asked again at the next reading
        }
        paused_ = outcome == NetworkOutcome::done;
        hold_off_ = !paused_;
        return paused_ ? paused_event : pause_failed_event(failure);
    }
    if (action != NetworkAction::resume) {
        return "";
    }
    if (outcome == NetworkOutcome::refused || outcome == NetworkOutcome::not_asked) {
        // Asked again at the next reading; told once.
        const bool told = std::exchange(resume_failure_told_, true);
        return told ? "" : "ZV-KOB could not resume the node's network: " + std::string(failure);
    }
    paused_ = false;
    resume_failure_told_ = false;
    // A resume asked again after one with no answer finds the network on:
    // most likely that first resume took, and nothing of ZV-KOB's is left to
    // resume (closing must not switch on a pause the user makes later).
    const bool first_took = std::exchange(settling_, NetworkAction::none) == NetworkAction::resume;
    return outcome == NetworkOutcome::already && !first_took
               ? "The node's network was switched on again, not by ZV-KOB."
               : resumed_event(why_);
}

void MeteredPause::node_started() {
    *this = MeteredPause();
}

std::string network_pause_record_path(std::string_view history_path) {
    return beside_history(history_path, ".network-pause");
}

std::string network_pause_record(const NodeRun& run) {
    return std::to_string(run.id) + " " + std::to_string(run.created_ms) + "\n";
}

std::optional<NodeRun> network_pause_of_record(std::string_view record) {
    NodeRun run;
    const char* end = record.data() + record.size();
    const auto id = std::from_chars(record.data(), end, run.id);
    if (id.ec != std::errc() || id.ptr == end || *id.ptr != ' ') {
        return std::nullopt;
    }
    const auto created = std::from_chars(id.ptr + 1, end, run.created_ms);
    if (created.ec != std::errc() || run.id == 0 ||
        std::string_view(created.ptr, static_cast<std::size_t>(end - created.ptr))
                .find_first_not_of("\r\n") != std::string_view::npos) {
        return std::nullopt;
    }
    return run;
}

}  // namespace zvkob
