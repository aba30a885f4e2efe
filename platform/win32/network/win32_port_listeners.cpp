#include "platform/win32/network/win32_port_listeners.hpp"

#include <winsock2.h>
#include <ws2ipdef.h>
#include <iphlpapi.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <vector>

#include "platform/win32/wide_text.hpp"

namespace zvkob::win32 {
namespace {

using GetTable = decltype(&GetExtendedTcpTable);

// The table's ports are in network order in the low 16 bits.
std::uint16_t port_of(DWORD network_port) {
    const auto port = static_cast<std::uint16_t>(network_port & 0xFFFF);
    return static_cast<std::uint16_t>((port >> 8) | (port << 8));
}

constexpr unsigned char loopback6[16] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1};

bool is_loopback4(DWORD address) {
    unsigned char bytes[4];
    std::memcpy(bytes, &address, sizeof bytes);
    return bytes[0] == 127 && bytes[1] == 0 && bytes[2] == 0 && bytes[3] == 1;
}

// The table of one address family, read again while it grows between calls.
std::optional<std::vector<unsigned char>> listeners_table(GetTable get_table, ULONG family,
                                                          DWORD& error) {
    std::vector<unsigned char> table;
    DWORD size = 0;
    for (int attempt = 0; attempt < 4; ++attempt) {
        table.resize(size);
        error = get_table(table.empty() ? nullptr : table.data(), &size, FALSE, family,
                          TCP_TABLE_OWNER_PID_LISTENER, 0);
        if (error == NO_ERROR && table.size() >= sizeof(DWORD)) {
            return table;
        }
        if (error != ERROR_INSUFFICIENT_BUFFER && error != NO_ERROR) {
            return std::nullopt;
        }
    }
    return std::nullopt;
}

// The listener on `exact`, else on the family's wildcard: a connection to
// the loopback reaches a socket bound to it before one bound to all.
template <typename Row, typename Matches>
PortListener pick(const Row* rows, DWORD count, std::uint16_t port, Matches matches) {
    PortListener found;
    found.kind = PortListener::Kind::nobody;
    for (DWORD i = 0; i < count; ++i) {
        if (port_of(rows[i].dwLocalPort) != port) {
            continue;
        }
        const int match = matches(rows[i]);  // 2: the address itself, 1: the wildcard
        if (match == 2 || (match == 1 && found.kind == PortListener::Kind::nobody)) {
            found.kind = PortListener::Kind::listening;
            found.process_id = rows[i].dwOwningPid;
            if (match == 2) {
                break;
            }
        }
    }
    return found;
}

PortListener in_ipv4(const std::vector<unsigned char>& table, std::uint16_t port) {
    const auto* listed = reinterpret_cast<const MIB_TCPTABLE_OWNER_PID*>(table.data());
    return pick(listed->table, listed->dwNumEntries, port, [&](const MIB_TCPROW_OWNER_PID& row) {
        return is_loopback4(row.dwLocalAddr) ? 2 : row.dwLocalAddr == 0 ? 1 : 0;
    });
}

PortListener in_ipv6(const std::vector<unsigned char>& table, std::uint16_t port) {
    const auto* listed = reinterpret_cast<const MIB_TCP6TABLE_OWNER_PID*>(table.data());
    constexpr unsigned char any[16] = {};
    return pick(listed->table, listed->dwNumEntries, port, [&](const MIB_TCP6ROW_OWNER_PID& row) {
        return std::memcmp(row.ucLocalAddr, loopback6, 16) == 0 ? 2
               : std::memcmp(row.ucLocalAddr, any, 16) == 0    ? 1
                                                               : 0;
    });
}

PortListener unknown(std::string reason) {
    PortListener answer;
    answer.failure = std::move(reason);
    return answer;
}

}  // namespace

std::optional<std::vector<unsigned char>> Win32PortListeners::table(bool ipv6,
                                                                   std::string& failure) {
    if (!iphlpapi_.load()) {
        failure = iphlpapi_.failure();
        return std::nullopt;
    }
    const auto get_table = iphlpapi_.function<GetTable>("GetExtendedTcpTable");
    if (get_table == nullptr) {
        failure = "This Windows's iphlpapi.dll lacks GetExtendedTcpTable.";
        return std::nullopt;
    }
    DWORD error = NO_ERROR;
    auto listed = listeners_table(get_table, ipv6 ? AF_INET6 : AF_INET, error);
    if (!listed) {
        failure = "Windows could not list the listening ports: " + system_error_text(error);
    }
    return listed;
}

PortListener Win32PortListeners::who_listens(std::string_view address, std::uint16_t port) {
    const bool ipv6 = address == "::1" || address == "[::1]";
    if (!ipv6 && address != "127.0.0.1") {
        return unknown("Only the loopback addresses are looked up, not \"" + std::string(address) +
                       "\".");
    }
    std::string failure;
    const auto listed = table(ipv6, failure);
    if (!listed) {
        return unknown(failure);
    }
    return ipv6 ? in_ipv6(*listed, port) : in_ipv4(*listed, port);
}

std::vector<LoopbackBind> Win32PortListeners::loopback_binds_of(unsigned long process_id) {
    std::vector<LoopbackBind> binds;
    if (process_id == 0) {
        return binds;
    }
    std::string failure;
    if (const auto listed = table(false, failure)) {
        const auto* rows = reinterpret_cast<const MIB_TCPTABLE_OWNER_PID*>(listed->data());
        for (DWORD i = 0; i < rows->dwNumEntries; ++i) {
            const MIB_TCPROW_OWNER_PID& row = rows->table[i];
            if (row.dwOwningPid == process_id && is_loopback4(row.dwLocalAddr)) {
                binds.push_back({"127.0.0.1", port_of(row.dwLocalPort)});
            }
        }
    }
    if (const auto listed = table(true, failure)) {
        const auto* rows = reinterpret_cast<const MIB_TCP6TABLE_OWNER_PID*>(listed->data());
        for (DWORD i = 0; i < rows->dwNumEntries; ++i) {
            const MIB_TCP6ROW_OWNER_PID& row = rows->table[i];
            if (row.dwOwningPid == process_id && std::memcmp(row.ucLocalAddr, loopback6, 16) == 0) {
                binds.push_back({"::1", port_of(row.dwLocalPort)});
            }
        }
    }
    return binds;
}

}  // namespace zvkob::win32
