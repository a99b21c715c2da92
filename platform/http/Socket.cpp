// TcpConnection's send and receive loops, the same over either socket layer.
#include "platform/http/Socket.h"

#include "platform/http/SocketCalls.h"

namespace lumora {

using socket_calls::kNoSocket;
using socket_calls::Outcome;
using socket_calls::Ready;

bool TcpConnection::SendAll(const char* data, std::size_t size, Deadline deadline) {
    while (socket_ != kNoSocket && size > 0) {
        const Outcome sent = socket_calls::SendOnce(socket_, data, size);
        if (sent.kind == Outcome::Moved && sent.count > 0) {
            data += sent.count;
            size -= sent.count;
        } else if (sent.kind == Outcome::Interrupted) {
            continue;
        } else if (sent.kind == Outcome::WouldBlock) {
            if (!socket_calls::WaitUntil(socket_, Ready::ToWrite, deadline)) {
                return false;
            }
        } else {
            return false;
        }
    }
    return socket_ != kNoSocket;
}

std::ptrdiff_t TcpConnection::Receive(char* buffer, std::size_t capacity, Deadline deadline) {
    while (socket_ != kNoSocket) {
        const Outcome received = socket_calls::ReceiveOnce(socket_, buffer, capacity);
        if (received.kind == Outcome::Moved) {
            return static_cast<std::ptrdiff_t>(received.count);
        }
        if (received.kind == Outcome::Interrupted) {
            continue;
        }
        if (received.kind != Outcome::WouldBlock ||
            !socket_calls::WaitUntil(socket_, Ready::ToRead, deadline)) {
            return -1;
        }
    }
    return -1;
}

}  // namespace lumora
