#pragma once
// The stand-in node's network switch, as setnetworkactive turns a node's:
// on at start; while off, getnetworkinfo tells "networkactive": false and no
// connections. Each call logs "SetNetworkActive: false" (or true), as the
// node does.
#include <functional>

namespace stand_in_network {

bool active();
// Turns it and logs the call; returns the state now, as the node answers.
bool set_active(bool on, const std::function<void(const char*)>& log);

}  // namespace stand_in_network
