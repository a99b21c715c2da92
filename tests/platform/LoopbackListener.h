// A listening TCP socket on 127.0.0.1 for test servers: a thin layer over
// Winsock (LoopbackListener_win.cpp) and POSIX (LoopbackListener_posix.cpp).
#pragma once

#include <cstdint>

#include "platform/http/Socket.h"

namespace lumora::test {

class LoopbackListener {
  public:
    // Listens on 127.0.0.1 at |port|, or at a port the system picks when it
    // is 0; Port() is 0 on failure.
    explicit LoopbackListener(std::uint16_t port = 0);
    ~LoopbackListener();
    LoopbackListener(const LoopbackListener&) = delete;
    LoopbackListener& operator=(const LoopbackListener&) = delete;

    std::uint16_t Port() const { return port_; }
    // A connected socket for TcpConnection, or -1 when nobody connected
    // before |deadline|.
    std::intptr_t Accept(Deadline deadline);

  private:
    std::intptr_t socket_;
    std::uint16_t port_ = 0;
    bool started_ = false;
};

}  // namespace lumora::test
