#pragma once
// Sockets of the tests' own on the loopback: a port for the stand-in node's
// RPC, another program holding it, a connection that keeps the node busy.
#include <winsock2.h>  // before any windows.h

#include <cstdint>

namespace zvkob::e2e {

// Winsock, started for as long as it lives.
struct Winsock {
    Winsock();
    ~Winsock();
    Winsock(const Winsock&) = delete;
    Winsock& operator=(const Winsock&) = delete;
};

// A TCP socket of the test's own, closed when it goes.
class TestSocket {
public:
    explicit TestSocket(int family);
    ~TestSocket();
    TestSocket(const TestSocket&) = delete;
    TestSocket& operator=(const TestSocket&) = delete;

    // Binds the loopback of its family on `port` (0: any free one); the port, or 0.
    std::uint16_t bind_loopback(std::uint16_t port, bool ipv6);
    bool listen_here();
    // Connects to 127.0.0.1 on `port`.
    bool connect_loopback(std::uint16_t port);
    // Whether a connection has reached this listener, so anything could have been sent to it.
    bool reached();

private:
    Winsock winsock_;  // before the socket, which needs it
    SOCKET socket_;
};

// A port free on both loopback addresses now: other test runs share this machine.
std::uint16_t free_loopback_port();

}  // namespace zvkob::e2e
