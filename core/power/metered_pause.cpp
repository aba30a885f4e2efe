#include "core/power/metered_pause.hpp"

#include <utility>

namespace zvkob {

bool is_metered(std::uint32_t cost) {
    constexpr std::uint32_t costing = link_cost::fixed | link_cost::variable |
                                      link_cost::over_data_limit | link_cost::roaming |
                                      link_cost::approaching_data_limit;
    return (cost & costing) != 0;
}

MeteredStep MeteredPause::update(const MeteredFacts& facts) {
    if (!facts.node_answers || !facts.cost) {
        return {};
    }
    const bool metered = is_metered(*facts.cost);
    if (!metered) {
        hold_off_ = false;
    }
    // A node that does not tell is taken as it was left: paused by ZV-KOB, or running.
    if (paused_) {
        if (facts.network_active.value_or(false)) {
            paused_ = false;
            hold_off_ = true;
            return {NetworkAction::none,
                    "The node's network was switched on again, not by ZV-KOB: it stays on while "
                    "the link is metered."};
        }
        if (!metered || !facts.ticked) {
            resuming_for_tick_ = !facts.ticked;
            return {NetworkAction::resume, {}};
        }
        return {};
    }
    if (facts.ticked && metered && facts.network_active.value_or(true) && !hold_off_) {
        return {NetworkAction::pause, {}};
    }
    return {};
}

std::string MeteredPause::answered(NetworkAction action, bool ok, std::string_view failure) {
    if (action == NetworkAction::pause) {
        paused_ = ok;
        hold_off_ = !ok;
        return ok ? "The link is metered: ZV-KOB paused the node's network."
                  : "The link is metered, but ZV-KOB could not pause the node's network: " +
                        std::string(failure);
    }
    if (action != NetworkAction::resume) {
        return "";
    }
    if (!ok) {
        // Asked again at the next reading; told once.
        const bool told = std::exchange(resume_failure_told_, true);
        return told ? "" : "ZV-KOB could not resume the node's network: " + std::string(failure);
    }
    paused_ = false;
    resume_failure_told_ = false;
    return resuming_for_tick_
               ? "Pause the Node's Network on Metered Links was switched off: ZV-KOB resumed the "
                 "node's network."
               : "The link is no longer metered: ZV-KOB resumed the node's network.";
}

void MeteredPause::node_started() {
    *this = MeteredPause();
}

std::string MeteredPause::closing() const {
    return paused_ ? "ZV-KOB closes with the node's network paused on a metered link: it stays "
                     "paused until the node restarts."
                   : "";
}

}  // namespace zvkob
