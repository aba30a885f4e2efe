#pragma once
#include <optional>
#include <string>
#include <vector>

#include "platform/port_listeners.hpp"
#include "platform/win32/system_library.hpp"

namespace zvkob::win32 {

// Listening sockets from GetExtendedTcpTable (TCP_TABLE_OWNER_PID_LISTENER),
// for IPv4 and IPv6; iphlpapi is loaded at the first question.
class Win32PortListeners : public PortListeners {
public:
    PortListener who_listens(std::string_view address, std::uint16_t port) override;
    std::vector<LoopbackBind> loopback_binds_of(unsigned long process_id) override;

private:
    std::optional<std::vector<unsigned char>> table(bool ipv6, std::string& failure);
    SystemLibrary iphlpapi_{L"iphlpapi.dll"};
};

}  // namespace zvkob::win32
