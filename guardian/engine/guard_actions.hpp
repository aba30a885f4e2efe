#pragma once
#include <chrono>
#include <string>
#include <variant>
#include <vector>

#include "core/node_rpc/rpc_endpoint.hpp"
#include "core/power/metered_pause.hpp"
#include "guardian/node/node_of_this_copy.hpp"
#include "platform/notification_area.hpp"

namespace zvkob {

// What the guardian asks of the window and the PC, carried out in order by
// the window (guardian/flows/guard_actions_done.cpp).

// Ask this copy's node of `program` to stop, as Stop Node does, in the name
// of `asker`. Asked, the history says `event` and a notice titled
// `notice_title` tells it; not asked, the guardian hears so.
struct StopTheNode {
    std::string program;  // "QT" or "DAEMON"
    std::string asker;
    std::string event;
    std::string notice_title;
};
// Start the chosen program through the countdown, after `wait`, for `for_whom`.
struct ArmTheCountdown {
    StartRequest for_whom;
    std::chrono::milliseconds wait{0};
};
// End the countdown that runs.
struct DisarmTheCountdown {};
struct WriteHistory {
    std::string line;
};
struct Notify {
    NoticeKind kind;
    std::string title;
    std::string text;
};
// Pause or resume the network of this copy's node over its RPC at
// `endpoint`; the answer goes back to the metered pause.
struct ChangeTheNetwork {
    RpcEndpoint endpoint;
    NetworkAction action;
};
// Flash the window's taskbar button.
struct FlashTheWindow {};
// A message box for the user, who is at the PC.
struct TellTheUser {
    std::string text;
};

using GuardAction = std::variant<StopTheNode, ArmTheCountdown, DisarmTheCountdown, WriteHistory,
                                 Notify, ChangeTheNetwork, FlashTheWindow, TellTheUser>;
using GuardActions = std::vector<GuardAction>;

}  // namespace zvkob
