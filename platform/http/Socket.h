// A TCP connection over IPv4 whose every wait ends at a deadline. A thin
// layer over Winsock (Socket_win.cpp) and POSIX sockets (Socket_posix.cpp);
// the HTTP client above it is the same code on both.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace lumora {

using Deadline = std::chrono::steady_clock::time_point;

// Whole milliseconds left until |deadline|: 0 once it has passed, and never
// more than a day, so that every system call can take the figure.
inline int MillisecondsUntil(Deadline deadline) {
    using std::chrono::milliseconds;
    const auto left = std::chrono::ceil<milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left <= milliseconds(0)) {
        return 0;
    }
    return left >= milliseconds(86400000) ? 86400000 : static_cast<int>(left.count());
}

// The IPv4 addresses of |host| (a name or a dotted address), in network byte
// order; empty when the name does not resolve. The system's resolver sets
// its own time limits: name resolution cannot be bounded by a deadline.
std::vector<std::uint32_t> ResolveIPv4(const std::string& host);

class TcpConnection {
  public:
    TcpConnection();
    // Takes over a connected socket, such as one returned by accept().
    explicit TcpConnection(std::intptr_t connectedSocket);
    ~TcpConnection();
    TcpConnection(const TcpConnection&) = delete;
    TcpConnection& operator=(const TcpConnection&) = delete;

    // Connects to |address| (network byte order) at |port|; false when
    // refused, failed, or not done by |deadline|. At most once per object.
    bool Connect(std::uint32_t address, std::uint16_t port, Deadline deadline);
    // Sends all of |data|; false on failure or when |deadline| passes first.
    bool SendAll(const char* data, std::size_t size, Deadline deadline);
    // Waits for bytes until |deadline|. The count received (at most
    // |capacity|), 0 at the end of the stream, -1 on failure or time-out.
    std::ptrdiff_t Receive(char* buffer, std::size_t capacity, Deadline deadline);

  private:
    void Close();

    std::intptr_t socket_;
    bool started_ = false;  // the socket library was initialised for this object
};

}  // namespace lumora
