#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "core/rpc_endpoint.hpp"
#include "core/rpc_reply.hpp"
#include "core/rpc_request.hpp"
#include "platform/file_system.hpp"
#include "platform/loopback_http.hpp"
#include "platform/port_listeners.hpp"

namespace zvkob {

// The two answers the node's state is worked out from.
struct NodeRpcAnswers {
    RpcReply chain;    // getblockchaininfo
    RpcReply network;  // getnetworkinfo
};

// Asks this copy's node over its RPC, on the worker thread: every call blocks
// for up to the transport's time-outs. The node's cookie goes only to a
// listener that may be the node: before anything is sent, the listener on
// the address is looked up, and a process other than the node's never gets
// it. The cookie is read fresh for each call and kept nowhere; no failure
// text contains it.
class NodeRpcAsker {
public:
    NodeRpcAsker(LoopbackHttp& http, PortListeners& listeners, FileSystem& files)
        : http_(http), listeners_(listeners), files_(files) {}

    // `node_process_id` is the node's process, which the listener must be
    // (a listener Windows names as 0, as wine does, is not told).
    NodeRpcAnswers state(const RpcEndpoint& endpoint, unsigned long node_process_id);
    RpcReply stop(const RpcEndpoint& endpoint, unsigned long node_process_id);
    RpcReply list_wallets(const RpcEndpoint& endpoint, unsigned long node_process_id);
    // getblockheader: the block's time, in every version of the node.
    RpcReply block_header(const RpcEndpoint& endpoint, unsigned long node_process_id,
                          std::string_view block_hash);
    RpcReply backup_wallet(const RpcEndpoint& endpoint, unsigned long node_process_id,
                           std::string_view wallet, std::string_view destination);

    // One call to the node: tried at each address in turn until one answers.
    RpcReply call(const RpcEndpoint& endpoint, unsigned long node_process_id,
                  std::string_view method, std::span<const RpcParam> params = {},
                  std::string_view path = "/");

private:
    RpcReply call_at(const RpcEndpoint& endpoint, std::string_view address, std::string_view path,
                     std::string_view body, std::int64_t id);
    RpcReply post_once(const RpcEndpoint& endpoint, std::string_view address, std::string_view path,
                       std::string_view body, std::int64_t id);

    LoopbackHttp& http_;
    PortListeners& listeners_;
    FileSystem& files_;
    std::int64_t next_id_ = 1;
};

}  // namespace zvkob
