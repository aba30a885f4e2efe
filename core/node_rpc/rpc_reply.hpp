#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/node_rpc/json_document.hpp"

namespace zvkob {

// The node's code for a call made while it is still starting: every call,
// stop included, is refused with it until it has loaded.
inline constexpr int rpc_warming_up_code = -28;

enum class RpcFailure {
    none,
    warming_up,           // still starting: message() is the node's own phase
    refused_credentials,  // HTTP 401: read the cookie again once, then give up
    busy,                 // HTTP 503, the node's work queue is full: ask later
    rpc_error,            // the node's error: error_code() and message()
    malformed_reply,      // not a JSON-RPC reply
    oversized_reply,      // larger than json_size_cap
    too_deep_reply,       // nested deeper than json_depth_cap
    unexpected_status,    // an HTTP status with no JSON-RPC reply: not the node, or it failed
    transport,            // nothing was sent: message() says why
    no_answer,            // sent, and no reply came in time: the node may act on it all the same
};

// What one call to the node's RPC came to, in either of its reply styles:
// JSON-RPC 2.0 (HTTP 200 with "result" or "error") or the older one that
// forks keep (both keys, one null, and HTTP 500, 404 or 400 for an error).
class RpcReply {
public:
    // From the HTTP status and body of the reply to the call numbered `id`.
    static RpcReply from_http(int status, std::string_view body, std::int64_t id);
    // When no whole reply came: the transport's own words, or a body that
    // was cut off at the size cap.
    static RpcReply transport_failure(std::string reason);
    // The call went out and no whole reply came back (a time-out, a broken
    // connection): `reason` says what is known, e.g. "no answer within 5 s".
    static RpcReply no_answer(std::string reason);
    static RpcReply oversized();

    bool ok() const { return failure_ == RpcFailure::none; }
    // Whether the node may have carried the call out: it answered, or the
    // call reached it and no readable reply came. Only a call the node cannot
    // have acted on (nothing sent, or its own refusal) may be made another way.
    bool may_have_been_acted_on() const;
    RpcFailure failure() const { return failure_; }
    // The call's result; absent unless ok(). Read it through its getters
    // while this reply lives.
    JsonValue result() const;
    int error_code() const { return error_code_; }
    const std::string& message() const { return message_; }
    int http_status() const { return http_status_; }

    // In words for the tooltip and the history, e.g. "the node is starting:
    // Loading block index…" or "the node refused ZV-KOB's credentials".
    std::string describe() const;

private:
    RpcReply(RpcFailure failure, int http_status) : failure_(failure), http_status_(http_status) {}
    static RpcReply from_document(int status, JsonDocument document, std::int64_t id);

    RpcFailure failure_;
    int http_status_ = 0;
    int error_code_ = 0;
    std::string message_;
    std::optional<JsonDocument> document_;
};

}  // namespace zvkob
