#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/node_log/node_log_location.hpp"

namespace zvkob {

// Which node a program is, told by its file name: forks keep their own ports
// and folders. An unknown name is taken for bitcoin; its log corrects that.
enum class NodeFamily { bitcoin, litecoin, dogecoin };
NodeFamily node_family_of(std::string_view program);

// What the node's log of this run says about its RPC server. Fed the same
// lines the log reading gets; a new run of the node starts afresh.
class RpcLogFacts {
public:
    void new_run() { *this = RpcLogFacts(); }
    // Returns whether the line told anything about the RPC server.
    bool feed(std::string_view line);

    std::optional<std::uint16_t> port() const { return port_; }
    // Addresses the node bound, and those it could not (another program holds them).
    const std::vector<std::string>& bound() const { return bound_; }
    const std::vector<std::string>& failed() const { return failed_; }
    const std::optional<std::string>& cookie_path() const { return cookie_path_; }
    bool password_set() const { return password_set_; }
    bool none_bound() const { return none_bound_; }

private:
    std::optional<std::uint16_t> port_;
    std::vector<std::string> bound_;
    std::vector<std::string> failed_;
    std::optional<std::string> cookie_path_;
    bool password_set_ = false;
    bool none_bound_ = false;
};

// Where this copy's node answers RPC and where its cookie is, or why it does not.
struct RpcEndpoint {
    std::string no_rpc;  // in words when there is no RPC to ask; empty otherwise
    std::uint16_t port = 0;
    std::vector<std::string> addresses;  // loopback literals, to try in this order
    std::string cookie_path;
    // Those the node's log of this run says it bound itself: where Windows
    // does not name the listener's process (wine never does), only these may
    // receive the cookie.
    std::vector<std::string> bound_in_log;
    // Whether the node was told its port (its log, command line or
    // configuration file named it); else `port` is its family's default.
    bool port_named = false;

    bool available() const { return no_rpc.empty(); }
};

// A port a process listens on, bound to this address itself (not to all).
struct LoopbackBind {
    std::string address;  // "127.0.0.1" or "::1"
    std::uint16_t port = 0;
};

// The ports to ask the node on, in this order: the one it was told; else
// each port its own process listens on bound to 127.0.0.1 or ::1 itself, as
// its RPC binds (its peer-to-peer port binds all addresses, and is not
// among them), those bound to both first, then the family's default. A fork
// outside the known families is found so.
std::vector<std::uint16_t> rpc_ports_to_try(const RpcEndpoint& endpoint,
                                            const std::vector<LoopbackBind>& own_binds);

// From, in this order of trust, the node's log of this run, its command line
// (a batch file's call line or the node's own) with the configuration file it
// reads, and the network's defaults for the node's family. Every doubt rules
// an address out: one the node failed to bind, or whose family's wildcard it
// failed to bind, may be another program's.
RpcEndpoint rpc_endpoint(std::string_view command_line, const ReadConfFile& read_conf,
                         const RpcLogFacts& log);

}  // namespace zvkob
