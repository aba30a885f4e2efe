#include "core/node_rpc/node_rpc_asker.hpp"

#include <algorithm>
#include <array>

#include "core/node_rpc/rpc_credentials.hpp"

namespace zvkob {
namespace {

// "5 s", "5 min".
std::string duration_words(std::chrono::milliseconds time) {
    const auto ms = time.count();
    if (ms % 60'000 == 0) {
        return std::to_string(ms / 60'000) + " min";
    }
    if (ms % 1000 == 0) {
        return std::to_string(ms / 1000) + " s";
    }
    return std::to_string(ms) + " ms";
}

// The node's RPC answered there, if only that it is warming up or busy.
bool answered_as_rpc(const RpcReply& reply) {
    switch (reply.failure()) {
        case RpcFailure::none:
        case RpcFailure::warming_up:
        case RpcFailure::refused_credentials:
        case RpcFailure::busy:
        case RpcFailure::rpc_error:
            return true;
        default:
            return false;
    }
}

}  // namespace

std::optional<std::string> cookie_refusal(const PortListener& listener,
                                          unsigned long node_process_id, bool bound_in_log,
                                          std::uint16_t port) {
    const std::string on_port = " the node's RPC port " + std::to_string(port);
    switch (listener.kind) {
        case PortListener::Kind::nobody:
            return "nothing listens on" + on_port;
        case PortListener::Kind::unknown:
            return "cannot tell which program listens on port " + std::to_string(port) + " (" +
                   listener.failure + ")";
        case PortListener::Kind::listening:
            break;
    }
    if (listener.process_id == node_process_id) {
        return std::nullopt;
    }
    if (listener.process_id != 0) {
        return "another program (process " + std::to_string(listener.process_id) + ") holds" +
               on_port;
    }
    if (bound_in_log) {
        return std::nullopt;
    }
    return "cannot tell which program listens on port " + std::to_string(port) +
           " (Windows names none, and the node's log does not say it bound that address)";
}

NodeRpcAnswers NodeRpcAsker::state(RpcEndpoint& endpoint, unsigned long node_process_id) {
    if (endpoint.port_named || !endpoint.available()) {
        return state_on_port(endpoint, node_process_id);
    }
    const std::vector<std::uint16_t> ports =
        rpc_ports_to_try(endpoint, listeners_.loopback_binds_of(node_process_id));
    std::optional<NodeRpcAnswers> answers;
    for (const std::uint16_t port : ports) {
        endpoint.port = port;
        answers.emplace(state_on_port(endpoint, node_process_id));
        if (answered_as_rpc(answers->chain)) {
            break;
        }
    }
    return std::move(*answers);  // the default port is always among them
}

NodeRpcAnswers NodeRpcAsker::state_on_port(const RpcEndpoint& endpoint,
                                           unsigned long node_process_id) {
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
    return call(endpoint, node_process_id, "backupwallet", params, path, backup_answer_within);
}

RpcReply NodeRpcAsker::call(const RpcEndpoint& endpoint, unsigned long node_process_id,
                            std::string_view method, std::span<const RpcParam> params,
                            std::string_view path, std::chrono::milliseconds answer_within) {
    if (!endpoint.available()) {
        return RpcReply::transport_failure(endpoint.no_rpc);
    }
    const std::int64_t id = next_id_++;
    const auto body = rpc_request_body(method, params, id);
    if (!body) {
        return RpcReply::transport_failure("the call to the node could not be written as JSON");
    }
    const Call one{path, *body, id, answer_within};
    std::string why = "the node's RPC answers at no loopback address";
    // Why the cookie was kept from a listener is the reason worth telling,
    // whatever the other address did.
    std::string kept_from;
    for (const std::string& address : endpoint.addresses) {
        const bool bound =
            std::ranges::find(endpoint.bound_in_log, address) != endpoint.bound_in_log.end();
        const PortListener listener = listeners_.who_listens(address, endpoint.port);
        if (auto refusal = cookie_refusal(listener, node_process_id, bound, endpoint.port)) {
            (listener.kind == PortListener::Kind::nobody ? why : kept_from) = std::move(*refusal);
            continue;
        }
        RpcReply reply = call_at(endpoint, address, one);
        if (reply.failure() != RpcFailure::transport) {
            return reply;  // it went out: its answer, or the lack of one, is the call's
        }
        why = reply.message();
    }
    return RpcReply::transport_failure(kept_from.empty() ? why : kept_from);
}

RpcReply NodeRpcAsker::call_at(const RpcEndpoint& endpoint, std::string_view address,
                               const Call& call) {
    RpcReply reply = post_once(endpoint, address, call);
    // The node writes a new cookie at each start: one that changed between
    // reading it and asking gets one more try with the fresh one. A refused
    // call was not carried out, so sending it again does it once.
    if (reply.failure() == RpcFailure::refused_credentials) {
        reply = post_once(endpoint, address, call);
    }
    return reply;
}

RpcReply NodeRpcAsker::post_once(const RpcEndpoint& endpoint, std::string_view address,
                                 const Call& call) {
    auto read = files_.read_text(endpoint.cookie_path, TextCoding::utf8);
    if (!read) {
        return RpcReply::transport_failure("the node's cookie " + endpoint.cookie_path +
                                           " cannot be read");
    }
    const SecretText cookie(std::move(*read));
    auto header = basic_credentials_from_cookie(cookie.text());
    if (!header) {
        return RpcReply::transport_failure("the node's cookie " + endpoint.cookie_path +
                                           " is not one the node writes");
    }
    const SecretText authorization(std::move(*header));
    LoopbackPost post;
    post.address = address;
    post.port = endpoint.port;
    post.path = call.path;
    post.authorization = authorization.text();
    post.body = call.body;
    post.answer_within = call.answer_within;
    const HttpAnswer answer = http_.post(post);
    switch (answer.outcome) {
        case HttpOutcome::answered:
            return RpcReply::from_http(answer.status, answer.body, call.id);
        case HttpOutcome::oversized:
            return RpcReply::oversized();
        case HttpOutcome::no_answer:
            return RpcReply::no_answer(
                "no answer within " + duration_words(call.answer_within) +
                (answer.failure.empty() ? std::string() : " (" + answer.failure + ")"));
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
