#pragma once
#include <chrono>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "core/node_rpc/rpc_endpoint.hpp"
#include "core/node_rpc/rpc_reply.hpp"
#include "core/node_rpc/rpc_request.hpp"
#include "platform/file_system.hpp"
#include "platform/loopback_http.hpp"
#include "platform/port_listeners.hpp"

namespace zvkob {

// How long the node has to answer a call once it has been sent; a wallet's
// backup copies a file that may be large, on a node that may be busy.
inline constexpr std::chrono::milliseconds rpc_answer_within = std::chrono::seconds(5);
inline constexpr std::chrono::milliseconds backup_answer_within = std::chrono::minutes(5);

// The two answers the node's state is worked out from.
struct NodeRpcAnswers {
    RpcReply chain;    // getblockchaininfo
    RpcReply network;  // getnetworkinfo
};

// Why the node's cookie may not go to the program listening at an address,
// or nothing when it may. It goes only to the node's own process; where
// Windows does not name the listener (wine never does), only to an address
// the node's log says the node bound. A listener that cannot be looked up is
// a doubt, and every doubt is a no.
std::optional<std::string> cookie_refusal(const PortListener& listener,
                                          unsigned long node_process_id, bool bound_in_log,
                                          std::uint16_t port);

// Asks this copy's node over its RPC, on the worker thread: every call blocks
// for up to the transport's time-outs. The node's cookie goes only to a
// listener that is the node (cookie_refusal). The cookie is read fresh for
// each call, kept nowhere and wiped after use; no failure text contains it.
//
// Each call is sent once. It moves on to the next address only when nothing
// was sent (no listener, a refused connection, a listener that may not have
// the cookie); once it went out, its answer (or the lack of one) is the
// call's, because 127.0.0.1 and ::1 are usually the same node, and a
// backupwallet or a stop sent twice is done twice.
class NodeRpcAsker {
public:
    NodeRpcAsker(LoopbackHttp& http, PortListeners& listeners, FileSystem& files)
        : http_(http), listeners_(listeners), files_(files) {}

    // `node_process_id` is the node's process, which the listener must be.
    // Where the node was told no port, the ports of rpc_ports_to_try are
    // asked in turn (getblockchaininfo changes nothing): `endpoint` keeps the
    // first whose listener answered as the node's RPC, where the node is
    // asked for everything else.
    NodeRpcAnswers state(RpcEndpoint& endpoint, unsigned long node_process_id);
    RpcReply stop(const RpcEndpoint& endpoint, unsigned long node_process_id);
    RpcReply list_wallets(const RpcEndpoint& endpoint, unsigned long node_process_id);
    // getblockheader: the block's time, in every version of the node.
    RpcReply block_header(const RpcEndpoint& endpoint, unsigned long node_process_id,
                          std::string_view block_hash);
    // Waits up to backup_answer_within for the node's answer.
    RpcReply backup_wallet(const RpcEndpoint& endpoint, unsigned long node_process_id,
                           std::string_view wallet, std::string_view destination);

    // One call to the node, sent once (see above).
    RpcReply call(const RpcEndpoint& endpoint, unsigned long node_process_id,
                  std::string_view method, std::span<const RpcParam> params = {},
                  std::string_view path = "/",
                  std::chrono::milliseconds answer_within = rpc_answer_within);

private:
    struct Call {
        std::string_view path;
        std::string_view body;
        std::int64_t id;
        std::chrono::milliseconds answer_within;
    };
    NodeRpcAnswers state_on_port(const RpcEndpoint& endpoint, unsigned long node_process_id);
    RpcReply call_at(const RpcEndpoint& endpoint, std::string_view address, const Call& call);
    RpcReply post_once(const RpcEndpoint& endpoint, std::string_view address, const Call& call);

    LoopbackHttp& http_;
    PortListeners& listeners_;
    FileSystem& files_;
    std::int64_t next_id_ = 1;
};

}  // namespace zvkob
