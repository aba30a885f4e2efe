#pragma once
#include <string>
#include <string_view>

#include "service/guarding/service_guard.hpp"

namespace zvkob {

// The window's request on the service's channel, answered on the guard's
// thread. A malformed request is refused, told in the history and never
// acted on; a stop of the node or a tick goes the way the window's would.
std::string answer_request(ServiceGuard& guard, History& history, std::string_view request);

}  // namespace zvkob
