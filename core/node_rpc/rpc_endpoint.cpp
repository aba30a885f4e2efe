#include "core/node_rpc/rpc_endpoint.hpp"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <utility>

#include "core/instance_name.hpp"
#include "core/processes/node_command_line.hpp"
#include "core/processes/node_conf_file.hpp"
#include "core/windows_path.hpp"

namespace zvkob {
namespace {

constexpr std::string_view binding_text = "Binding RPC on address ";

struct NetworkRpc {
    NodeNetwork network;
    std::array<std::uint16_t, 3> ports;  // bitcoin, litecoin, dogecoin; 0: none
    std::string_view subfolder;
};

constexpr std::array<NetworkRpc, 5> network_rpc{{
    {NodeNetwork::main, {8332, 9332, 22555}, ""},
    {NodeNetwork::test, {18332, 19332, 44555}, "testnet3"},
    {NodeNetwork::testnet4, {48332, 0, 0}, "testnet4"},
    {NodeNetwork::signet, {38332, 39332, 0}, "signet"},
    {NodeNetwork::regtest, {18443, 19443, 18443}, "regtest"},
}};

std::string lower(std::string_view text) {
    std::string result;
    for (const char c : text) {
        result += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return result;
}

std::optional<std::uint16_t> port_number(std::string_view text) {
    unsigned value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value == 0 || value > 65535) {
        return std::nullopt;
    }
    return static_cast<std::uint16_t>(value);
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) {
        text.remove_suffix(1);
    }
    return text;
}

std::string unbracketed(std::string_view address) {
    if (address.size() >= 2 && address.front() == '[' && address.back() == ']') {
        address = address.substr(1, address.size() - 2);
    }
    return std::string(address);
}

// The port of -rpcbind=addr:port ([::1]:port for IPv6), when it names one.
std::optional<std::uint16_t> rpcbind_port(std::string_view bind) {
    const auto colon = bind.rfind(':');
    if (colon == std::string_view::npos || bind.find(':') != colon) {
        if (bind.starts_with('[') && bind.find("]:") != std::string_view::npos) {
            return port_number(bind.substr(bind.find("]:") + 2));
        }
        return std::nullopt;
    }
    return port_number(bind.substr(colon + 1));
}

// The command line, then the network's section, then the top level of the
// file; rpcport and rpcbind at the top level are the main network's only.
class RpcSettings {
public:
    RpcSettings(const NodeOptions& line, const NodeConf& conf, NodeNetwork network)
        : line_(line), conf_(conf), network_(network) {}

    std::optional<std::string> get(std::string_view name, bool main_only_at_top = false) const {
        if (auto value = find(line_, name)) {
            return value;
        }
        const auto section = conf_.sections.find(network_name(network_));
        if (section != conf_.sections.end()) {
            if (auto value = find(section->second, name)) {
                return value;
            }
        }
        if (main_only_at_top && network_ != NodeNetwork::main) {
            return std::nullopt;
        }
        return find(conf_.top_level, name);
    }

private:
    static std::optional<std::string> find(const NodeOptions& options, std::string_view name) {
        const auto found = options.find(name);
        return found == options.end() ? std::nullopt : std::optional(found->second);
    }

    const NodeOptions& line_;
    const NodeConf& conf_;
    NodeNetwork network_;
};

RpcEndpoint no_rpc(std::string why) {
    RpcEndpoint endpoint;
    endpoint.no_rpc = std::move(why);
    return endpoint;
}

bool is_wallet_program(std::string_view program) {
    return lower(instance_name_from_path(program)).ends_with("-qt");
}

std::optional<std::string> why_no_rpc(const RpcSettings& settings, std::string_view program,
                                      const RpcLogFacts& log) {
    if (log.none_bound()) {
        return "the node's log says no address could be bound for its RPC";
    }
    if (log.password_set() || !settings.get("rpcpassword").value_or("").empty()) {
        return "the node uses rpcpassword, not its cookie";
    }
    const auto server = settings.get("server");
    if (server && !switch_is_on(*server)) {
        return "the node runs with server=0";
    }
    if (!server && is_wallet_program(program)) {
        return "the wallet program runs without -server";
    }
    if (settings.get("rpccookiefile") == "0") {
        return "the node runs with -norpccookiefile";
    }
    return std::nullopt;
}

std::uint16_t default_port(NodeFamily family, NodeNetwork network) {
    for (const NetworkRpc& facts : network_rpc) {
        if (facts.network == network) {
            const std::uint16_t port = facts.ports[static_cast<std::size_t>(family)];
            return port != 0 ? port : facts.ports[0];
        }
    }
    return network_rpc[0].ports[0];
}

std::string network_folder(std::string_view data_folder, NodeFamily family, NodeNetwork network) {
    std::string_view subfolder;
    for (const NetworkRpc& facts : network_rpc) {
        if (facts.network == network) {
            subfolder = facts.subfolder;
        }
    }
    if (family == NodeFamily::litecoin && network == NodeNetwork::test) {
        subfolder = "testnet4";
    }
    return subfolder.empty() ? std::string(data_folder) : path_from_folder(data_folder, subfolder);
}

bool listed(const std::vector<std::string>& list, std::string_view address) {
    return std::find(list.begin(), list.end(), address) != list.end();
}

// Each loopback address with the wildcard of its family.
constexpr std::array<std::pair<std::string_view, std::string_view>, 2> loopbacks{
    {{"127.0.0.1", "0.0.0.0"}, {"::1", "::"}}};

// A failed bind means another program holds the port there: a failed
// wildcard (0.0.0.0 or ::) may be one on the loopback itself, so it rules the
// loopback of its family out too. A node that logs its binds answers only
// where it tried one; an older node logs none, and both are tried.
std::vector<std::string> addresses_to_try(const RpcLogFacts& log) {
    std::vector<std::string> addresses;
    for (const auto& [address, wildcard] : loopbacks) {
        if (listed(log.failed(), address) || listed(log.failed(), wildcard)) {
            continue;
        }
        const bool tried = listed(log.bound(), address) || listed(log.bound(), wildcard);
        if (log.bound().empty() || tried) {
            addresses.emplace_back(address);
        }
    }
    return addresses;
}

// The addresses the log says the node holds: bound there itself, not
// failed. A bind of the family's wildcard does not show that no other
// program holds the loopback address itself (Windows lets both bind).
std::vector<std::string> bound_by_the_node(const RpcLogFacts& log,
                                           const std::vector<std::string>& to_try) {
    std::vector<std::string> bound;
    for (const std::string& address : to_try) {
        if (listed(log.bound(), address)) {
            bound.push_back(address);
        }
    }
    return bound;
}

// The node honours -rpcbind only beside -rpcallowip (else it warns and binds
// the loopback), and, like rpcport, only in the network's own section of the
// file for test networks. Its port then wins over rpcport.
std::optional<std::uint16_t> honoured_rpcbind_port(const RpcSettings& settings) {
    if (!settings.get("rpcallowip")) {
        return std::nullopt;
    }
    return rpcbind_port(settings.get("rpcbind", true).value_or(""));
}

}  // namespace

std::vector<std::uint16_t> rpc_ports_to_try(const RpcEndpoint& endpoint,
                                            const std::vector<LoopbackBind>& own_binds) {
    if (endpoint.port_named) {
        return {endpoint.port};
    }
    std::vector<std::pair<int, std::uint16_t>> ranked;  // (loopbacks missed, port)
    for (const LoopbackBind& bind : own_binds) {
        if (bind.port == 0 || (bind.address != "127.0.0.1" && bind.address != "::1") ||
            std::ranges::any_of(ranked, [&](const auto& r) { return r.second == bind.port; })) {
            continue;
        }
        const bool both = std::ranges::any_of(own_binds, [&](const LoopbackBind& other) {
            return other.port == bind.port && other.address != bind.address &&
                   (other.address == "127.0.0.1" || other.address == "::1");
        });
        ranked.emplace_back(both ? 0 : 1, bind.port);
    }
    std::ranges::sort(ranked);
    std::vector<std::uint16_t> ports;
    for (const auto& [missed, port] : ranked) {
        ports.push_back(port);
    }
    if (std::ranges::find(ports, endpoint.port) == ports.end()) {
        ports.push_back(endpoint.port);
    }
    return ports;
}

NodeFamily node_family_of(std::string_view program) {
    const std::string name = lower(instance_name_from_path(program));
    if (name.starts_with("litecoin")) {
        return NodeFamily::litecoin;
    }
    if (name.starts_with("dogecoin")) {
        return NodeFamily::dogecoin;
    }
    return NodeFamily::bitcoin;
}

bool RpcLogFacts::feed(std::string_view line) {
    line = trimmed(line);
    if (const auto at = line.find(binding_text); at != std::string_view::npos) {
        std::string_view rest = line.substr(at + binding_text.size());
        const bool failed = rest.ends_with(" failed.");
        if (failed) {
            rest.remove_suffix(std::string_view(" failed.").size());
        }
        const auto port_at = rest.rfind(" port ");
        if (port_at == std::string_view::npos) {
            return false;
        }
        const std::string address = unbracketed(rest.substr(0, port_at));
        if (const auto port = port_number(rest.substr(port_at + 6))) {
            port_ = port;
        }
        (failed ? failed_ : bound_).push_back(address);
        return true;
    }
    constexpr std::string_view cookie_text = "Generated RPC authentication cookie ";
    if (const auto at = line.find(cookie_text); at != std::string_view::npos) {
        cookie_path_ = std::string(line.substr(at + cookie_text.size()));
    } else if (line.find("Using rpcuser/rpcpassword authentication.") != std::string_view::npos) {
        password_set_ = true;
    } else if (line.find("Unable to bind any endpoint for RPC server") != std::string_view::npos) {
        none_bound_ = true;
    } else {
        return false;
    }
    return true;
}

RpcEndpoint rpc_endpoint(std::string_view command_line, const ReadConfFile& read_conf,
                         const RpcLogFacts& log) {
    const NodeLogLocation location = node_log_location(command_line, read_conf);
    const NodeCommandLine line = read_node_command_line(command_line);
    const std::string conf_path = node_conf_path(line);
    const NodeConf conf =
        read_node_conf(conf_path.empty() ? "" : read_conf(conf_path).value_or(""));
    const RpcSettings settings(line.options, conf, location.network);
    if (auto why = why_no_rpc(settings, line.program, log)) {
        return no_rpc(std::move(*why));
    }
    const NodeFamily family = node_family_of(line.program);
    RpcEndpoint endpoint;
    endpoint.port = default_port(family, location.network);
    for (const std::optional<std::uint16_t> named :
         {port_number(settings.get("rpcport", true).value_or("")), honoured_rpcbind_port(settings),
          log.port()}) {
        if (named) {
            endpoint.port = *named;
            endpoint.port_named = true;
        }
    }
    endpoint.addresses = addresses_to_try(log);
    if (endpoint.addresses.empty()) {
        return no_rpc("the node's log says its RPC is bound to no loopback address ZV-KOB may use");
    }
    endpoint.bound_in_log = bound_by_the_node(log, endpoint.addresses);
    if (log.cookie_path()) {
        endpoint.cookie_path = *log.cookie_path();
        return endpoint;
    }
    const std::string cookie = settings.get("rpccookiefile").value_or("");
    if (is_absolute_path(cookie)) {
        endpoint.cookie_path = cookie;
    } else if (!location.data_folder.empty() && is_absolute_path(location.data_folder)) {
        endpoint.cookie_path =
            path_from_folder(network_folder(location.data_folder, family, location.network),
                             cookie.empty() ? ".cookie" : cookie);
    } else {
        return no_rpc("the node's data folder is not known, so neither is its cookie");
    }
    return endpoint;
}

}  // namespace zvkob
