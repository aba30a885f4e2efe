#include "core/node_rpc/rpc_poll_schedule.hpp"

#include <algorithm>

namespace zvkob {

void RpcPollSchedule::node_running(std::int64_t now_ms) {
    next_ms_ = now_ms;
    wait_ms_ = interval_ms;
    failing_ = false;
}

void RpcPollSchedule::ask_now(std::int64_t now_ms) {
    if (next_ms_) {
        node_running(now_ms);
    }
}

void RpcPollSchedule::answered(std::int64_t now_ms) {
    if (!next_ms_) {
        return;
    }
    wait_ms_ = interval_ms;
    failing_ = false;
    next_ms_ = now_ms + interval_ms;
}

void RpcPollSchedule::failed(std::int64_t now_ms) {
    if (!next_ms_) {
        return;
    }
    wait_ms_ = failing_ ? std::min(wait_ms_ * 2, longest_wait_ms) : interval_ms;
    failing_ = true;
    next_ms_ = now_ms + wait_ms_;
}

}  // namespace zvkob
