#pragma once
#include <cstdint>

#include "core/care/keep_awake.hpp"
#include "core/power/power_awake.hpp"
#include "platform/history.hpp"
#include "platform/power_request.hpp"

namespace zvkob {

// "Keep the PC Awake While Catching Up": the rules of when to hold the PC
// awake, carried out with Windows' power request; the history tells each
// start and end of holding once.
class PcAwake {
public:
    PcAwake(PowerRequest& request, History& history) : request_(request), history_(history) {}

    // The node's state of now. Closing, whichever way, lets go; so does the
    // battery (`on_battery`, only while the battery stop is on).
    void follow(const AwakeFacts& facts, bool on_battery, std::int64_t now_ms);
    bool holding() const { return rules_.holding(); }

private:
    KeepAwake rules_;
    PowerRequest& request_;
    History& history_;
};

}  // namespace zvkob
