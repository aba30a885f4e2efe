#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/node_rpc/rpc_endpoint.hpp"

namespace zvkob {

// Which process listens on a loopback port, as Windows tells it.
struct PortListener {
    enum class Kind {
        nobody,     // no listener on that address, nor on the wildcard of its family
        listening,  // process_id listens (0: Windows did not tell which; wine never does)
        unknown,    // the table could not be read: failure says why
    };
    Kind kind = Kind::unknown;
    unsigned long process_id = 0;
    std::string failure;
};

class PortListeners {
public:
    virtual ~PortListeners() = default;
    // For "127.0.0.1" or "::1" (bracketed or not): the listener a connection
    // there would reach, the one bound to that address before one bound to
    // all addresses of its family (0.0.0.0 or ::).
    virtual PortListener who_listens(std::string_view address, std::uint16_t port) = 0;
    // The ports this process listens on bound to 127.0.0.1 or ::1 itself,
    // where Windows names the owner (wine never does: then none). A process
    // number of 0 has none.
    virtual std::vector<LoopbackBind> loopback_binds_of(unsigned long process_id) = 0;
};

}  // namespace zvkob
