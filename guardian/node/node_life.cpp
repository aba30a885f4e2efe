#include "guardian/node/node_life.hpp"

namespace zvkob {

void NodeLife::enter(NodeStage stage, std::int64_t now_ms) {
    stage_ = stage;
    since_ms_ = now_ms;
    cause_ = StopCause::not_judged;
    if (stage == NodeStage::starting || stage == NodeStage::running) {
        stop_request_.reset();
    }
}

bool NodeLife::on(NodeEvent event, std::int64_t now_ms, StopCause cause) {
    switch (event) {
        case NodeEvent::start:
            if (runs() || stage_ == NodeStage::starting) {
                return false;  // one node at a time: a start while it runs starts nothing
            }
            enter(NodeStage::starting, now_ms);
            return true;
        case NodeEvent::seen:
            if (runs()) {
                return false;
            }
            enter(NodeStage::running, now_ms);
            return true;
        case NodeEvent::stop_asked:
            if (!runs()) {
                return false;
            }
            if (stage_ == NodeStage::asked_to_stop) {
                stop_request_->last_ms = now_ms;  // asked again: the first ask still counts
                stop_request_->overdue_told = false;
                return true;
            }
            enter(NodeStage::asked_to_stop, now_ms);
            stop_request_ = StopRequest{now_ms, now_ms, false};
            return true;
        case NodeEvent::ctrl_c_pressed:
            if (stage_ != NodeStage::asked_to_stop || stop_request_->ctrl_c_pressed) {
                return false;
            }
            stop_request_->ctrl_c_pressed = true;
            return true;
        case NodeEvent::stop_refused:
            if (stage_ != NodeStage::asked_to_stop ||
                stop_request_->first_ms != stop_request_->last_ms) {
                return false;  // an ask before this one still stands
            }
            enter(NodeStage::running, now_ms);
            return true;
        case NodeEvent::stop_overdue:
            if (stage_ != NodeStage::asked_to_stop || stop_request_->overdue_told) {
                return false;
            }
            stop_request_->overdue_told = true;
            return true;
        case NodeEvent::gone:
            if (stage_ == NodeStage::starting) {
                enter(NodeStage::not_running, now_ms);  // its batch file ended before it was seen
                return true;
            }
            if (!runs()) {
                return false;
            }
            {
                const bool asked = stage_ == NodeStage::asked_to_stop;
                enter(NodeStage::stopped, now_ms);
                cause_ = asked ? StopCause::asked_for : StopCause::not_judged;
            }
            return true;
        case NodeEvent::verdict:
            if (stage_ != NodeStage::stopped || cause_ != StopCause::not_judged ||
                cause == StopCause::not_judged) {
                return false;
            }
            cause_ = cause;
            return true;
    }
    return false;
}

}  // namespace zvkob
