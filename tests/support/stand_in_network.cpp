#include "stand_in_network.hpp"

#include <atomic>

namespace stand_in_network {
namespace {

std::atomic<bool> network_on{true};

}  // namespace

bool active() {
    return network_on.load();
}

bool set_active(bool on, const std::function<void(const char*)>& log) {
    network_on = on;
    log(on ? "SetNetworkActive: true" : "SetNetworkActive: false");
    return on;
}

}  // namespace stand_in_network
