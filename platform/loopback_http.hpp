#pragma once
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/node_rpc/json_document.hpp"

namespace zvkob {

// One HTTP POST to a program listening on this computer's loopback: the
// node's RPC. The credentials travel in the clear, so the address must be
// one of the loopback literals; anything else is refused before a
// connection is even tried.
struct LoopbackPost {
    std::string_view address;  // "127.0.0.1" or "::1"
    std::uint16_t port = 0;
    std::string_view path = "/";     // or rpc_wallet_path()
    std::string_view authorization;  // the header's value: sent, never kept
    std::string_view body;
    std::size_t reply_cap = json_size_cap;  // bytes read at most before giving up
    // How long the reply may take once the request has gone: a few seconds
    // for a question, minutes for a wallet's backup.
    std::chrono::milliseconds answer_within = std::chrono::seconds(5);
};

enum class HttpOutcome {
    answered,         // status and body hold the reply
    refused_address,  // not a loopback literal: nothing was sent
    oversized,        // the reply would exceed the cap: reading stopped there
    failed,           // nothing was sent (no listener, no connection): failure says why
    no_answer,        // the request went out, or may have, and no whole reply came back
};

struct HttpAnswer {
    HttpOutcome outcome = HttpOutcome::failed;
    int status = 0;
    std::string body;
    std::string failure;  // why there is no reply; for no_answer, empty when the time ran out
};

class LoopbackHttp {
public:
    virtual ~LoopbackHttp() = default;
    // Blocks for up to a few seconds per time-out (connecting, sending),
    // then up to the request's answer_within: a worker thread's call, never
    // the window's. Tells `failed` only where it is sure that nothing reached
    // the listener; every other failure is `no_answer`, and the request is
    // then never sent anywhere again.
    virtual HttpAnswer post(const LoopbackPost& request) = 0;
};

}  // namespace zvkob
