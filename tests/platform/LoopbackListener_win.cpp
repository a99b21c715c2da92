#include <winsock2.h>

#include "tests/platform/LoopbackListener.h"

namespace lumora::test {

LoopbackListener::LoopbackListener(std::uint16_t port)
    : socket_(static_cast<std::intptr_t>(INVALID_SOCKET)) {
    WSADATA data{};
    started_ = WSAStartup(MAKEWORD(2, 2), &data) == 0;
    if (!started_) {
        return;
    }
    const SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    socket_ = static_cast<std::intptr_t>(s);
    sockaddr_in at{};
    at.sin_family = AF_INET;
    at.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    at.sin_port = htons(port);
    int length = sizeof(at);
    if (s != INVALID_SOCKET && bind(s, reinterpret_cast<const sockaddr*>(&at), sizeof(at)) == 0 &&
        listen(s, 8) == 0 && getsockname(s, reinterpret_cast<sockaddr*>(&at), &length) == 0) {
        port_ = ntohs(at.sin_port);
    }
}

LoopbackListener::~LoopbackListener() {
    if (static_cast<SOCKET>(socket_) != INVALID_SOCKET) {
        closesocket(static_cast<SOCKET>(socket_));
    }
    if (started_) {
        WSACleanup();
    }
}

std::intptr_t LoopbackListener::Accept(Deadline deadline) {
    const SOCKET s = static_cast<SOCKET>(socket_);
    fd_set ready;
    FD_ZERO(&ready);
    FD_SET(s, &ready);
    const int ms = MillisecondsUntil(deadline);
    timeval limit{ms / 1000, (ms % 1000) * 1000};
    if (port_ == 0 || select(0, &ready, nullptr, nullptr, &limit) <= 0) {
        return -1;
    }
    return static_cast<std::intptr_t>(accept(s, nullptr, nullptr));
}

}  // namespace lumora::test
