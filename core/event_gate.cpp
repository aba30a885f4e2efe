#include "core/event_gate.hpp"

#include <exception>

namespace zvkob {

bool EventGate::run(const std::function<void()>& event) {
    if (busy_) {
        return false;
    }
    busy_ = true;
    try {
        event();
    } catch (const std::exception& failure) {
        report_(failure.what());
    } catch (...) {
        report_("an unexpected internal error");
    }
    busy_ = false;
    return true;
}

}  // namespace zvkob
