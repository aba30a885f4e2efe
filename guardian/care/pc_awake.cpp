#include "guardian/care/pc_awake.hpp"

namespace zvkob {

void PcAwake::follow(const AwakeFacts& facts, bool on_battery, std::int64_t now_ms) {
    const AwakeStep step = keep_awake_on_power(rules_, facts, on_battery, now_ms);
    switch (step.action) {
        case AwakeStep::Action::hold: {
            const AwakeHold held = request_.hold(step.reason);
            history_.record(holding_event(awake_means_words(held.means), held.failure));
            if (held.means == AwakeMeans::none) {
                rules_.hold_refused();
            }
            return;
        }
        case AwakeStep::Action::refresh:
            // A refused new reason leaves the request of the old one in place.
            (void)request_.hold(step.reason);
            return;
        case AwakeStep::Action::let_go:
            request_.let_go();
            if (!step.event.empty()) {
                history_.record(step.event);
            }
            return;
        case AwakeStep::Action::none:
            return;
    }
}

}  // namespace zvkob
