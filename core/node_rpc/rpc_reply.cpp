#include "core/node_rpc/rpc_reply.hpp"

#include <limits>
#include <utility>

namespace zvkob {
namespace {

constexpr int http_ok = 200;
constexpr int http_unauthorized = 401;
constexpr int http_unavailable = 503;

// A body that is not JSON-RPC is the node's fault when it said 200, and an
// answer of some other kind (a proxy's page, another server) otherwise.
RpcFailure unreadable(int status) {
    return status == http_ok ? RpcFailure::malformed_reply : RpcFailure::unexpected_status;
}

std::optional<int> error_code_of(JsonValue error) {
    const auto code = error.member("code").whole_number();
    if (!code || *code < std::numeric_limits<int>::min() ||
        *code > std::numeric_limits<int>::max()) {
        return std::nullopt;
    }
    return static_cast<int>(*code);
}

}  // namespace

RpcReply RpcReply::from_http(int status, std::string_view body, std::int64_t id) {
    if (status == http_unauthorized) {
        return RpcReply(RpcFailure::refused_credentials, status);
    }
    if (status == http_unavailable) {
        return RpcReply(RpcFailure::busy, status);
    }
    JsonDocument document = JsonDocument::parse(body);
    switch (document.fault()) {
        case JsonFault::none:
            return from_document(status, std::move(document), id);
        case JsonFault::oversized:
            return RpcReply(RpcFailure::oversized_reply, status);
        case JsonFault::too_deep:
            return RpcReply(RpcFailure::too_deep_reply, status);
        case JsonFault::malformed:
            break;
    }
    RpcReply reply(unreadable(status), status);
    reply.message_ = document.fault_detail();
    return reply;
}

RpcReply RpcReply::from_document(int status, JsonDocument document, std::int64_t id) {
    const JsonValue root = document.root();
    if (!root.member("result").present() && !root.member("error").present()) {
        return RpcReply(unreadable(status), status);
    }
    // The node names the call it answers; null only for a request it could not read.
    const JsonValue reply_id = root.member("id");
    if (reply_id.present() && !reply_id.is_null() && reply_id.whole_number() != id) {
        return RpcReply(RpcFailure::malformed_reply, status);
    }
    if (const JsonValue error = root.member("error"); error.present() && !error.is_null()) {
        const auto code = error_code_of(error);
        if (!code) {
            return RpcReply(RpcFailure::malformed_reply, status);
        }
        RpcReply reply(
            *code == rpc_warming_up_code ? RpcFailure::warming_up : RpcFailure::rpc_error, status);
        reply.error_code_ = *code;
        reply.message_ = error.member("message").text().value_or("");
        return reply;
    }
    if (status != http_ok || !root.member("result").present()) {
        return RpcReply(unreadable(status), status);
    }
    RpcReply reply(RpcFailure::none, status);
    reply.document_ = std::move(document);
    return reply;
}

RpcReply RpcReply::transport_failure(std::string reason) {
    RpcReply reply(RpcFailure::transport, 0);
    reply.message_ = std::move(reason);
    return reply;
}

RpcReply RpcReply::no_answer(std::string reason) {
    RpcReply reply(RpcFailure::no_answer, 0);
    reply.message_ = std::move(reason);
    return reply;
}

RpcReply RpcReply::oversized() {
    return RpcReply(RpcFailure::oversized_reply, 0);
}

JsonValue RpcReply::result() const {
    return document_ ? document_->root().member("result") : JsonValue();
}

std::string RpcReply::describe() const {
    const std::string status = std::to_string(http_status_);
    switch (failure_) {
        case RpcFailure::none:
            return "the node answered";
        case RpcFailure::warming_up:
            return "the node is starting: " + message_;
        case RpcFailure::refused_credentials:
            return "the node refused ZV-KOB's credentials";
        case RpcFailure::busy:
            return "the node is busy (HTTP 503): ZV-KOB asks again later";
        case RpcFailure::rpc_error:
            return "the node answered error " + std::to_string(error_code_) + ": " + message_;
        case RpcFailure::malformed_reply:
            return "the node's reply could not be read" +
                   (message_.empty() ? std::string() : " (" + message_ + ")");
        case RpcFailure::oversized_reply:
            return "the node's reply is larger than 1 MiB";
        case RpcFailure::too_deep_reply:
            return "the node's reply is nested too deeply";
        case RpcFailure::unexpected_status:
            return "the node's RPC port answered HTTP " + status + " without a JSON-RPC reply";
        case RpcFailure::transport:
        case RpcFailure::no_answer:
            return message_;
    }
    return {};
}

bool RpcReply::may_have_been_acted_on() const {
    switch (failure_) {
        case RpcFailure::none:
        case RpcFailure::no_answer:
        case RpcFailure::malformed_reply:
        case RpcFailure::oversized_reply:
        case RpcFailure::too_deep_reply:
            return true;
        case RpcFailure::warming_up:
        case RpcFailure::refused_credentials:
        case RpcFailure::busy:
        case RpcFailure::rpc_error:
        case RpcFailure::unexpected_status:  // not the node's JSON-RPC reply
        case RpcFailure::transport:
            return false;
    }
    return true;
}

}  // namespace zvkob
