#include "guardian/engine/node_gone_meeting.hpp"

namespace zvkob {
namespace {

GuardActions as_actions(const KeepRunningRequest& request) {
    GuardActions actions;
    if (request.flash) {
        actions.emplace_back(FlashTheWindow{});
    }
    if (request.end_countdown) {
        actions.emplace_back(DisarmTheCountdown{});
    }
    if (request.restart_after) {
        actions.emplace_back(
            ArmTheCountdown{StartRequest::keep_node_running, *request.restart_after});
    }
    if (request.notice) {
        actions.emplace_back(
            Notify{request.notice->kind, request.notice->title, request.notice->text});
    }
    if (!request.message.empty()) {
        actions.emplace_back(TellTheUser{request.message});
    }
    return actions;
}

}  // namespace

const char* stopped_by_others(const NodeGoneScene& scene) {
    return scene.cause == StopCause::asked_for ? "as ZV-KOB asked it to"
           : scene.session_ending              ? "while Windows ends the session"
           : scene.closing                     ? "while ZV-KOB is closing"
                                               : nullptr;
}

bool explain_as_failed_start(const Guardian& guardian, const NodeGoneScene& scene,
                             const NodeGone& gone) {
    return !guardian.node_keeper.on() && gone.interpreter && gone.ran_ms < failed_start_within_ms &&
           !stopped_by_others(scene);
}

bool still_to_decide(const Guardian& guardian, const NodeGoneScene& scene,
                     std::int64_t stopped_ms) {
    return guardian.node_keeper.on() && scene.chosen && scene.stage == NodeStage::stopped &&
           scene.since_ms == stopped_ms;
}

StopCause cause_of(const NodeStop& stop) {
    switch (stop.how) {
        case HowItStopped::clean:
            return StopCause::clean;
        case HowItStopped::after_error:
            return StopCause::after_error;
        case HowItStopped::cut_short:
            return StopCause::cut_short;
        case HowItStopped::no_log:
            return StopCause::cannot_tell;
        case HowItStopped::crash:
            break;
    }
    return StopCause::crashed;
}

GuardActions keep_running_decision(KeepNodeRunning& keeper, const GoneNode& node,
                                   const NodeStop& stop,
                                   const std::function<std::optional<std::string>()>& held_back) {
    return as_actions(keeper.decide(node, stop, held_back));
}

GuardActions keep_running_switched(KeepNodeRunning& keeper, bool on) {
    if (keeper.switched(on)) {
        return {DisarmTheCountdown{}};
    }
    return {};
}

}  // namespace zvkob
