// The per-platform socket calls that TcpConnection's send and receive loops
// (Socket.cpp) are written over: one call of send or recv on a non-blocking
// socket, and a wait for it to be ready, each as Socket_win.cpp (Winsock)
// and Socket_posix.cpp (POSIX sockets) make them.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/http/Socket.h"

namespace lumora::socket_calls {

// No socket: INVALID_SOCKET and -1 alike.
inline constexpr std::intptr_t kNoSocket = -1;

struct Outcome {
    enum Kind {
        Moved,        // |count| bytes went (0 from a receive: the end of the stream)
        Interrupted,  // a signal came first: call again
        WouldBlock,   // not ready: wait, then call again
        Failed,
    };
    Kind kind;
    std::size_t count;
};

Outcome SendOnce(std::intptr_t socket, const char* data, std::size_t size);
Outcome ReceiveOnce(std::intptr_t socket, char* buffer, std::size_t capacity);

enum class Ready { ToRead, ToWrite };

// Waits until |socket| is ready; false on failure or at |deadline|.
bool WaitUntil(std::intptr_t socket, Ready ready, Deadline deadline);

}  // namespace lumora::socket_calls
