#pragma once
#include <string>
#include <string_view>

#include "service/guarding/service_guard.hpp"
#include "service/guarding/unseen_services.hpp"

namespace zvkob {

// The window's request on the service's channel, answered on the guard's
// thread. A malformed request is refused, told in the history and never
// acted on; a stop of the node, a tick or a backup goes the way the
// window's would (the backup to the folder chosen in the window).
std::string answer_request(ServiceGuard& guard, History& history, GivenFolderPicker& folders,
                           std::string_view request);

}  // namespace zvkob
