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

namespace lumora {
namespace {

#if defined(MSG_NOSIGNAL)
constexpr int kSendFlags = MSG_NOSIGNAL;  // a closed peer is an error, not SIGPIPE
#else
constexpr int kSendFlags = 0;
#endif

constexpr std::intptr_t kNoSocket = -1;

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

bool TcpConnection::SendAll(const char* data, std::size_t size, Deadline deadline) {
    const int fd = static_cast<int>(socket_);
    while (socket_ != kNoSocket && size > 0) {
        const ssize_t sent = send(fd, data, size, kSendFlags);
        if (sent > 0) {
            data += sent;
            size -= static_cast<std::size_t>(sent);
        } else if (sent < 0 && errno == EINTR) {
            continue;
        } else if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            if (!WaitFor(fd, POLLOUT, deadline)) {
                return false;
            }
        } else {
            return false;
        }
    }
    return socket_ != kNoSocket;
}

std::ptrdiff_t TcpConnection::Receive(char* buffer, std::size_t capacity, Deadline deadline) {
    const int fd = static_cast<int>(socket_);
    while (socket_ != kNoSocket) {
        const ssize_t received = recv(fd, buffer, capacity, 0);
        if (received >= 0) {
            return received;
        }
        if (errno == EINTR) {
            continue;
        }
        if ((errno != EAGAIN && errno != EWOULDBLOCK) || !WaitFor(fd, POLLIN, deadline)) {
            return -1;
        }
    }
    return -1;
}

}  // namespace lumora
