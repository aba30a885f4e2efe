#pragma once
#include <windows.h>

#include "platform/command_runner.hpp"

namespace zvkob::win32 {

// How the service creates the node's process. With no console at all: a
// console process of a service hears CTRL_LOGOFF_EVENT whenever any user
// signs out, and the node takes every console event for a shut-down. In a
// process group of its own, so that no Ctrl+C of the service's reaches it
// either; the user's own environment; below normal at low priority.
DWORD service_node_creation_flags(NodePriority priority, bool own_environment);

// Starts the node's command (its program and arguments, no interpreter) as
// the service's node: with the filtered token (node_token.hpp), no console,
// in the folder of its program.
class DetachedNodeRunner : public CommandRunner {
public:
    Start run_hidden(std::string_view command_line,
                     NodePriority priority = NodePriority::normal) override;
};

}  // namespace zvkob::win32
