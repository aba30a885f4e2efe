#include "core/node_rpc_asker.hpp"

#include <array>

#include "core/rpc_credentials.hpp"

namespace zvkob {

NodeRpcAnswers NodeRpcAsker::state(const RpcEndpoint& endpoint, unsigned long node_process_id) {
    RpcReply chain = call(endpoint, node_process_id, "getblockchaininfo");
    // A node that is starting, busy or away answers the second call the same way.
    if (!chain.ok()) {
        return {std::move(chain), RpcReply::transport_failure("not asked")};
    }
    return {std::move(chain), call(endpoint, node_process_id, "getnetworkinfo")};
}

RpcReply NodeRpcAsker::stop(const RpcEndpoint& endpoint, unsigned long node_process_id) {
    return call(endpoint, node_process_id, "stop");
}

RpcReply NodeRpcAsker::list_wallets(const RpcEndpoint& endpoint, unsigned long node_process_id) {
    return call(endpoint, node_process_id, "listwallets");
}

RpcReply NodeRpcAsker::block_header(const RpcEndpoint& endpoint, unsigned long node_process_id,
                                    std::string_view block_hash) {
    const std::array params{RpcParam::text(block_hash)};
    return call(endpoint, node_process_id, "getblockheader", params);
}

RpcReply NodeRpcAsker::backup_wallet(const RpcEndpoint& endpoint, unsigned long node_process_id,
                                     std::string_view wallet, std::string_view destination) {
    const std::array params{RpcParam::text(destination)};
    const std::string path = rpc_wallet_path(wallet);
    return call(endpoint, node_process_id, "backupwallet", params, path);
}

RpcReply NodeRpcAsker::call(const RpcEndpoint& endpoint, unsigned long node_process_id,
                            std::string_view method, std::span<const RpcParam> params,
                            std::string_view path) {
    if (!endpoint.available()) {
        return RpcReply::transport_failure(endpoint.no_rpc);
    }
    const std::int64_t id = next_id_++;
    const auto body = rpc_request_body(method, params, id);
    if (!body) {
        return RpcReply::transport_failure("the call to the node could not be written as JSON");
    }
    std::string why = "the node's RPC answers at no loopback address";
    // Another program on the port is the reason worth telling, whatever the other address did.
    std::string held_by;
    for (const std::string& address : endpoint.addresses) {
        const PortListener listener = listeners_.who_listens(address, endpoint.port);
        if (listener.kind == PortListener::Kind::nobody) {
            why = "nothing listens on the node's RPC port " + std::to_string(endpoint.port);
            continue;
        }
        if (listener.kind == PortListener::Kind::listening && listener.process_id != 0 &&
            listener.process_id != node_process_id) {
            held_by = "another program (process " + std::to_string(listener.process_id) +
                      ") holds the node's RPC port " + std::to_string(endpoint.port);
            continue;
        }
        RpcReply reply = call_at(endpoint, address, path, *body, id);
        if (reply.failure() != RpcFailure::transport) {
            return reply;
        }
        why = reply.message();
    }
    return RpcReply::transport_failure(held_by.empty() ? why : held_by);
}

RpcReply NodeRpcAsker::call_at(const RpcEndpoint& endpoint, std::string_view address,
                               std::string_view path, std::string_view body, std::int64_t id) {
    RpcReply reply = post_once(endpoint, address, path, body, id);
    // The node writes a new cookie at each start: one that changed between
    // reading it and asking gets one more try with the fresh one.
    if (reply.failure() == RpcFailure::refused_credentials) {
        reply = post_once(endpoint, address, path, body, id);
    }
    return reply;
}

RpcReply NodeRpcAsker::post_once(const RpcEndpoint& endpoint, std::string_view address,
                                 std::string_view path, std::string_view body, std::int64_t id) {
    const auto cookie = files_.read_text(endpoint.cookie_path, TextCoding::utf8);
    if (!cookie) {
        return RpcReply::transport_failure("the node's cookie " + endpoint.cookie_path +
                                           " cannot be read");
    }
    const auto authorization = basic_credentials_from_cookie(*cookie);
    if (!authorization) {
        return RpcReply::transport_failure("the node's cookie " + endpoint.cookie_path +
                                           " is not one the node writes");
    }
    LoopbackPost post;
    post.address = address;
    post.port = endpoint.port;
    post.path = path;
    post.authorization = *authorization;
    post.body = body;
    const HttpAnswer answer = http_.post(post);
    switch (answer.outcome) {
        case HttpOutcome::answered:
            return RpcReply::from_http(answer.status, answer.body, id);
        case HttpOutcome::oversized:
            return RpcReply::oversized();
        case HttpOutcome::refused_address:
            return RpcReply::transport_failure("ZV-KOB asks the node only at 127.0.0.1 or ::1");
        case HttpOutcome::failed:
            break;
    }
    return RpcReply::transport_failure("could not reach the node's RPC at " + std::string(address) +
                                       " port " + std::to_string(endpoint.port) + ": " +
                                       answer.failure);
}

}  // namespace zvkob
