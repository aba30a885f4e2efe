#include "core/power/power_awake.hpp"

namespace zvkob {

AwakeStep keep_awake_on_power(KeepAwake& rules, AwakeFacts facts, bool on_battery,
                              std::int64_t now_ms) {
    if (!on_battery || !facts.ticked || facts.closing) {
        return rules.update(facts, now_ms);
    }
    facts.ticked = false;
    AwakeStep step = rules.update(facts, now_ms);
    if (step.action == AwakeStep::Action::let_go && !step.event.empty()) {
        step.event = awake_on_battery_event;
    }
    return step;
}

}  // namespace zvkob
