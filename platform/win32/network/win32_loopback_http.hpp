#pragma once
#include "platform/loopback_http.hpp"
#include "platform/win32/network/winhttp_functions.hpp"

namespace zvkob::win32 {

// The node's RPC over WinHTTP: no proxy, no redirect, no cookie, no
// automatic authentication, no kept connection: nothing that would make
// WinHTTP send a request again by itself. A few seconds for connecting and
// sending, and the request's own time for its answer. WinHTTP is loaded at the first post.
class Win32LoopbackHttp : public LoopbackHttp {
public:
    HttpAnswer post(const LoopbackPost& request) override;

private:
    WinHttpFunctions winhttp_;
};

}  // namespace zvkob::win32
