#include "loopback_sockets.hpp"

#include <ws2tcpip.h>

namespace zvkob::e2e {

Winsock::Winsock() {
    WSADATA data{};
    WSAStartup(MAKEWORD(2, 2), &data);
}

Winsock::~Winsock() {
    WSACleanup();
}

TestSocket::TestSocket(int family) : socket_(::socket(family, SOCK_STREAM, IPPROTO_TCP)) {}

TestSocket::~TestSocket() {
    closesocket(socket_);
}

std::uint16_t TestSocket::bind_loopback(std::uint16_t port, bool ipv6) {
    sockaddr_storage where{};
    int size = 0;
    if (ipv6) {
        auto& v6 = reinterpret_cast<sockaddr_in6&>(where);
        v6 = {AF_INET6, htons(port), 0, in6addr_loopback, {}};
        size = sizeof v6;
    } else {
        auto& v4 = reinterpret_cast<sockaddr_in&>(where);
        v4.sin_family = AF_INET;
        v4.sin_port = htons(port);
        v4.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        size = sizeof v4;
    }
    if (bind(socket_, reinterpret_cast<sockaddr*>(&where), size) != 0 ||
        getsockname(socket_, reinterpret_cast<sockaddr*>(&where), &size) != 0) {
        return 0;
    }
    return ntohs(ipv6 ? reinterpret_cast<sockaddr_in6&>(where).sin6_port
                      : reinterpret_cast<sockaddr_in&>(where).sin_port);
}

bool TestSocket::listen_here() {
    return ::listen(socket_, 1) == 0;
}

bool TestSocket::connect_loopback(std::uint16_t port) {
    sockaddr_in node{};
    node.sin_family = AF_INET;
    node.sin_port = htons(port);
    node.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return connect(socket_, reinterpret_cast<sockaddr*>(&node), sizeof node) == 0;
}

bool TestSocket::reached() {
    fd_set ready;
    FD_ZERO(&ready);
    FD_SET(socket_, &ready);
    timeval none{};
    return select(0, &ready, nullptr, nullptr, &none) > 0;
}

std::uint16_t free_loopback_port() {
    for (int attempt = 0; attempt < 20; ++attempt) {
        TestSocket v6(AF_INET6);
        TestSocket v4(AF_INET);
        const std::uint16_t port = v6.bind_loopback(0, true);
        if (port != 0 && v4.bind_loopback(port, false) == port) {
            return port;
        }
    }
    return 0;
}

}  // namespace zvkob::e2e
