// Winsock 2 calls only, all of them present since Windows 95: name lookup
// by gethostbyname (IPv4 only, which is all the program asks for) and waits
// by select, so that the program still starts on Windows 2000.
#include <winsock2.h>

#include <algorithm>
#include <climits>

#include "platform/http/Socket.h"
#include "platform/http/SocketCalls.h"
#include "platform/http/Winsock_win.h"

namespace lumora {
namespace {

using socket_calls::kNoSocket;
static_assert(kNoSocket == static_cast<std::intptr_t>(INVALID_SOCKET), "no socket");

// Winsock is started and stopped around each user of it; the library counts.
class WinsockUse {
  public:
    WinsockUse() {
        WSADATA data{};
        started_ = winsock::WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }
    ~WinsockUse() {
        if (started_) {
            winsock::WSACleanup();
        }
    }
    WinsockUse(const WinsockUse&) = delete;
    WinsockUse& operator=(const WinsockUse&) = delete;
    bool Started() const { return started_; }

  private:
    bool started_ = false;
};

bool MakeNonBlocking(SOCKET s) {
    u_long on = 1;
    return winsock::ioctlsocket(s, FIONBIO, &on) == 0;
}

enum class Wait { Read, Write };

// Waits until |s| is ready; false on failure, at |deadline|, or when the
// socket reports an error (a refused connection attempt).
bool WaitFor(SOCKET s, Wait what, Deadline deadline) {
    fd_set ready;
    fd_set failed;  // where a failed connection attempt is reported
    FD_ZERO(&ready);
    FD_ZERO(&failed);
    FD_SET(s, &ready);
    FD_SET(s, &failed);
    const int ms = MillisecondsUntil(deadline);
    timeval limit{ms / 1000, (ms % 1000) * 1000};
    if (what == Wait::Read) {
        return winsock::select(0, &ready, nullptr, nullptr, &limit) > 0;
    }
    const int count = winsock::select(0, nullptr, &ready, &failed, &limit);
    return count > 0 && winsock::IsSet(s, ready) && !winsock::IsSet(s, failed);
}

int ChunkSize(std::size_t size) {
    return static_cast<int>(std::min<std::size_t>(size, INT_MAX));
}

}  // namespace

std::vector<std::uint32_t> ResolveIPv4(const std::string& host) {
    std::vector<std::uint32_t> addresses;
    WinsockUse winsock;
    if (!winsock.Started()) {
        return addresses;
    }
    const hostent* found = winsock::gethostbyname(host.c_str());
    if (found == nullptr || found->h_addrtype != AF_INET || found->h_length != 4) {
        return addresses;
    }
    for (char** entry = found->h_addr_list; *entry != nullptr; ++entry) {
        in_addr in{};
        std::copy_n(*entry, sizeof(in), reinterpret_cast<char*>(&in));
        const std::uint32_t address = in.s_addr;
        if (std::find(addresses.begin(), addresses.end(), address) == addresses.end()) {
            addresses.push_back(address);
        }
    }
    return addresses;
}

TcpConnection::TcpConnection() : socket_(kNoSocket) {
    WSADATA data{};
    started_ = winsock::WSAStartup(MAKEWORD(2, 2), &data) == 0;
}

TcpConnection::TcpConnection(std::intptr_t connectedSocket) : TcpConnection() {
    socket_ = connectedSocket;
    if (socket_ != kNoSocket && !MakeNonBlocking(static_cast<SOCKET>(socket_))) {
        Close();
    }
}

TcpConnection::~TcpConnection() {
    Close();
    if (started_) {
        winsock::WSACleanup();
    }
}

void TcpConnection::Close() {
    if (socket_ != kNoSocket) {
        winsock::closesocket(static_cast<SOCKET>(socket_));
        socket_ = kNoSocket;
    }
}

bool TcpConnection::Connect(std::uint32_t address, std::uint16_t port, Deadline deadline) {
    if (!started_ || socket_ != kNoSocket) {
        return false;
    }
    const SOCKET s = winsock::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (s == INVALID_SOCKET) {
        return false;
    }
    socket_ = static_cast<std::intptr_t>(s);
    if (!MakeNonBlocking(s)) {
        return false;
    }
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = winsock::htons(port);
    to.sin_addr.s_addr = address;
    if (winsock::connect(s, reinterpret_cast<const sockaddr*>(&to), sizeof(to)) == 0) {
        return true;
    }
    if (winsock::WSAGetLastError() != WSAEWOULDBLOCK || !WaitFor(s, Wait::Write, deadline)) {
        return false;
    }
    int error = 0;
    int length = sizeof(error);
    return winsock::getsockopt(s, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &length) ==
               0 &&
           error == 0;
}

namespace socket_calls {
namespace {

// The outcome of a send or recv call that returned |result|. Winsock has no
// interrupted calls.
Outcome OutcomeOf(int result) {
    if (result >= 0) {
        return {Outcome::Moved, static_cast<std::size_t>(result)};
    }
    return {winsock::WSAGetLastError() == WSAEWOULDBLOCK ? Outcome::WouldBlock : Outcome::Failed,
            0};
}

}  // namespace

Outcome SendOnce(std::intptr_t socket, const char* data, std::size_t size) {
    return OutcomeOf(winsock::send(static_cast<SOCKET>(socket), data, ChunkSize(size), 0));
}

Outcome ReceiveOnce(std::intptr_t socket, char* buffer, std::size_t capacity) {
    return OutcomeOf(winsock::recv(static_cast<SOCKET>(socket), buffer, ChunkSize(capacity), 0));
}

bool WaitUntil(std::intptr_t socket, Ready ready, Deadline deadline) {
    return WaitFor(static_cast<SOCKET>(socket), ready == Ready::ToRead ? Wait::Read : Wait::Write,
                   deadline);
}

}  // namespace socket_calls

}  // namespace lumora
