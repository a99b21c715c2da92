#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include "tests/platform/LoopbackListener.h"

namespace lumora::test {

LoopbackListener::LoopbackListener(std::uint16_t port)
    : socket_(socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)) {
    sockaddr_in at{};
    at.sin_family = AF_INET;
    at.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    at.sin_port = htons(port);
    socklen_t length = sizeof(at);
    const int fd = static_cast<int>(socket_);
    if (fd >= 0 && bind(fd, reinterpret_cast<const sockaddr*>(&at), sizeof(at)) == 0 &&
        listen(fd, 8) == 0 && getsockname(fd, reinterpret_cast<sockaddr*>(&at), &length) == 0) {
        port_ = ntohs(at.sin_port);
    }
}

LoopbackListener::~LoopbackListener() {
    if (socket_ >= 0) {
        close(static_cast<int>(socket_));
    }
}

std::intptr_t LoopbackListener::Accept(Deadline deadline) {
    pollfd entry{static_cast<int>(socket_), POLLIN, 0};
    if (port_ == 0 || poll(&entry, 1, MillisecondsUntil(deadline)) <= 0) {
        return -1;
    }
    return accept(static_cast<int>(socket_), nullptr, nullptr);
}

}  // namespace lumora::test
