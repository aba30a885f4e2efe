#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>

namespace zvkob {

// One parameter of a call to the node: a text, a whole number or a flag.
class RpcParam {
public:
    static RpcParam text(std::string_view value) { return RpcParam(value); }
    static RpcParam number(std::int64_t value) { return RpcParam(value); }
    static RpcParam flag(bool value) { return RpcParam(value); }

    const std::variant<std::string_view, std::int64_t, bool>& value() const { return value_; }

private:
    template <typename Value>
    explicit RpcParam(Value value) : value_(value) {}

    std::variant<std::string_view, std::int64_t, bool> value_;
};

// The body of a JSON-RPC 2.0 call: {"jsonrpc":"2.0","id":…,"method":…,"params":[…]}.
// Texts are escaped by the JSON library's writer; a text that is not valid
// UTF-8 gives nothing, since the node would refuse it or read something else.
std::optional<std::string> rpc_request_body(std::string_view method,
                                            std::span<const RpcParam> params, std::int64_t id);

// The path of a call to one of the node's wallets: "/wallet/" and its name,
// every byte but the unreserved ones written as %XX. Calls that concern no
// wallet go to "/".
std::string rpc_wallet_path(std::string_view wallet_name);

// Whether an address is one the node's credentials may be sent to: the
// loopback literals 127.0.0.1 and ::1 (bracketed or not), never a name that
// something else could answer for.
bool is_loopback_literal(std::string_view address);

}  // namespace zvkob
