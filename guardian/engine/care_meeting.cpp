#include "guardian/engine/care_meeting.hpp"

namespace zvkob {

void follow_pc_awake(Guardian& guardian, AwakeFacts facts, std::int64_t now_ms) {
    facts.closing = facts.closing || guardian.sign_out.ending();
    guardian.pc_awake.follow(facts, guardian.battery.on_battery(), now_ms);
}

void users_start(Guardian& guardian) {
    guardian.node_keeper.user_started();
    guardian.battery.user_started();
}

}  // namespace zvkob
