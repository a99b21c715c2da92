#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "platform/http/Socket.h"
#include "platform/http/SocketCalls.h"

namespace lumora {
namespace {

using socket_calls::kNoSocket;

#if defined(MSG_NOSIGNAL)
constexpr int kSendFlags = MSG_NOSIGNAL;  // a closed peer is an error, not SIGPIPE
#else
constexpr int kSendFlags = 0;
#endif

bool MakeNonBlocking(int fd) {
    const int flags = fcntl(fd, F_GETFL, 0);
    return flags >= 0 && fcntl(fd, F_SETFL, flags | O_NONBLOCK) == 0;
}

// Waits until |fd| is ready for |events|; false on failure or at |deadline|.
bool WaitFor(int fd, short events, Deadline deadline) {
    for (;;) {
        pollfd entry{fd, events, 0};
        const int ready = poll(&entry, 1, MillisecondsUntil(deadline));
        if (ready > 0) {
            return true;
        }
        if (ready == 0 || errno != EINTR) {
            return false;
        }
    }
}

}  // namespace

std::vector<std::uint32_t> ResolveIPv4(const std::string& host) {
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    std::vector<std::uint32_t> addresses;
    if (getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0) {
        return addresses;
    }
    for (const addrinfo* a = found; a != nullptr; a = a->ai_next) {
        if (a->ai_family != AF_INET || a->ai_addrlen < sizeof(sockaddr_in)) {
            continue;
        }
        sockaddr_in in{};
        std::copy_n(reinterpret_cast<const char*>(a->ai_addr), sizeof(in),
                    reinterpret_cast<char*>(&in));
        const std::uint32_t address = in.sin_addr.s_addr;
        if (std::find(addresses.begin(), addresses.end(), address) == addresses.end()) {
            addresses.push_back(address);
        }
    }
    freeaddrinfo(found);
    return addresses;
}

TcpConnection::TcpConnection() : socket_(kNoSocket) {}

TcpConnection::TcpConnection(std::intptr_t connectedSocket) : socket_(connectedSocket) {
    if (socket_ != kNoSocket && !MakeNonBlocking(static_cast<int>(socket_))) {
        Close();
    }
}

TcpConnection::~TcpConnection() {
    Close();
}

void TcpConnection::Close() {
    if (socket_ != kNoSocket) {
        close(static_cast<int>(socket_));
        socket_ = kNoSocket;
    }
}

bool TcpConnection::Connect(std::uint32_t address, std::uint16_t port, Deadline deadline) {
    if (socket_ != kNoSocket) {
        return false;
    }
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return false;
    }
    socket_ = fd;
    if (!MakeNonBlocking(fd)) {
        return false;
    }
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(port);
    to.sin_addr.s_addr = address;
    if (connect(fd, reinterpret_cast<const sockaddr*>(&to), sizeof(to)) == 0) {
        return true;
    }
    if (errno != EINPROGRESS || !WaitFor(fd, POLLOUT, deadline)) {
        return false;
    }
    int error = 0;
    socklen_t length = sizeof(error);
    return getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) == 0 && error == 0;
}

namespace socket_calls {
namespace {

// The outcome of a send or recv call that returned |result|.
Outcome OutcomeOf(ssize_t result) {
    if (result >= 0) {
        return {Outcome::Moved, static_cast<std::size_t>(result)};
    }
    if (errno == EINTR) {
        return {Outcome::Interrupted, 0};
    }
    return {errno == EAGAIN || errno == EWOULDBLOCK ? Outcome::WouldBlock : Outcome::Failed, 0};
}

}  // namespace

Outcome SendOnce(std::intptr_t socket, const char* data, std::size_t size) {
    return OutcomeOf(send(static_cast<int>(socket), data, size, kSendFlags));
}

Outcome ReceiveOnce(std::intptr_t socket, char* buffer, std::size_t capacity) {
    return OutcomeOf(recv(static_cast<int>(socket), buffer, capacity, 0));
}

bool WaitUntil(std::intptr_t socket, Ready ready, Deadline deadline) {
    return WaitFor(static_cast<int>(socket), ready == Ready::ToRead ? POLLIN : POLLOUT, deadline);
}

}  // namespace socket_calls

}  // namespace lumora
