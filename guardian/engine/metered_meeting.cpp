#include "guardian/engine/metered_meeting.hpp"

namespace zvkob {
namespace {

// The node's state as the metered rule may take it: only one read after the
// answer to ZV-KOB's last call tells what came of it.
MeteredFacts node_facts(const MeteredGuard& metered, const MeteredScene& scene) {
    const bool heard = scene.node_answers && metered.heard_after_call(scene.state_poll);
    return {.ticked = scene.ticked,
            .node_answers = scene.node_answers,
            .cost = std::nullopt,
            .network_active = heard ? scene.network_active : std::nullopt,
            .state_followed = scene.state_followed};
}

GuardActions look_at_the_link(MeteredGuard& metered, const MeteredScene& scene,
                              std::int64_t now_ms) {
    const NetworkAction action = metered.look(node_facts(metered, scene), now_ms);
    if (action == NetworkAction::none) {
        return {};
    }
    const std::optional<RpcEndpoint> endpoint = metered.call_at(scene.endpoint);
    if (!endpoint) {
        metered.answered(action, NetworkOutcome::not_asked, rpc_not_known, scene.polls_asked);
        return {};
    }
    metered.calling_at(*endpoint);
    return {ChangeTheNetwork{*endpoint, action}};
}

}  // namespace

GuardActions metered_tick(MeteredGuard& metered, const MeteredScene& scene, std::int64_t now_ms) {
    metered.node_is(scene.run);
    if (scene.node_runs && metered.due(now_ms)) {
        return look_at_the_link(metered, scene, now_ms);
    }
    return {};
}

}  // namespace zvkob
