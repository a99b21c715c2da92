#include "platform/http/Winsock_win.h"

#include <algorithm>

#include "common/SystemLibrary.h"

namespace lumora::winsock {

namespace {

// The library's entry points, looked up together once; a missing one is null.
struct Entries {
    decltype(&::WSAStartup) startup = nullptr;
    decltype(&::WSACleanup) cleanup = nullptr;
    decltype(&::WSAGetLastError) lastError = nullptr;
    decltype(&::gethostbyname) hostByName = nullptr;
    decltype(&::socket) socket = nullptr;
    decltype(&::closesocket) closeSocket = nullptr;
    decltype(&::ioctlsocket) ioctlSocket = nullptr;
    decltype(&::connect) connect = nullptr;
    decltype(&::getsockopt) getSockOpt = nullptr;
    decltype(&::select) select = nullptr;
    decltype(&::send) send = nullptr;
    decltype(&::recv) recv = nullptr;
};

Entries Bind() {
    // Loaded once and kept, as the other system libraries loaded on first use.
    const HMODULE module = LoadSystemLibrary(L"ws2_32.dll");
    Entries e;
    if (module == nullptr) {
        return e;
    }
    e.startup = ProcAddress<decltype(e.startup)>(module, "WSAStartup");
    e.cleanup = ProcAddress<decltype(e.cleanup)>(module, "WSACleanup");
    e.lastError = ProcAddress<decltype(e.lastError)>(module, "WSAGetLastError");
    e.hostByName = ProcAddress<decltype(e.hostByName)>(module, "gethostbyname");
    e.socket = ProcAddress<decltype(e.socket)>(module, "socket");
    e.closeSocket = ProcAddress<decltype(e.closeSocket)>(module, "closesocket");
    e.ioctlSocket = ProcAddress<decltype(e.ioctlSocket)>(module, "ioctlsocket");
    e.connect = ProcAddress<decltype(e.connect)>(module, "connect");
    e.getSockOpt = ProcAddress<decltype(e.getSockOpt)>(module, "getsockopt");
    e.select = ProcAddress<decltype(e.select)>(module, "select");
    e.send = ProcAddress<decltype(e.send)>(module, "send");
    e.recv = ProcAddress<decltype(e.recv)>(module, "recv");
    return e;
}

// Bound on the first call from any thread (the tests' servers have threads
// of their own); the initialisation of a local static is thread-safe.
const Entries& Library() {
    static const Entries entries = Bind();
    return entries;
}

// Without all of its calls the library is as good as missing: nothing is
// started, so nothing else is called.
bool Complete(const Entries& e) {
    return e.startup != nullptr && e.cleanup != nullptr && e.lastError != nullptr &&
           e.hostByName != nullptr && e.socket != nullptr && e.closeSocket != nullptr &&
           e.ioctlSocket != nullptr && e.connect != nullptr && e.getSockOpt != nullptr &&
           e.select != nullptr && e.send != nullptr && e.recv != nullptr;
}

}  // namespace

int WSAStartup(WORD version, WSADATA* data) {
    const Entries& e = Library();
    return Complete(e) ? e.startup(version, data) : WSASYSNOTREADY;
}

int WSACleanup() {
    const auto entry = Library().cleanup;
    return entry != nullptr ? entry() : SOCKET_ERROR;
}

int WSAGetLastError() {
    const auto entry = Library().lastError;
    return entry != nullptr ? entry() : WSASYSNOTREADY;
}

hostent* gethostbyname(const char* name) {
    const auto entry = Library().hostByName;
    return entry != nullptr ? entry(name) : nullptr;
}

SOCKET socket(int family, int type, int protocol) {
    const auto entry = Library().socket;
    return entry != nullptr ? entry(family, type, protocol) : INVALID_SOCKET;
}

int closesocket(SOCKET s) {
    const auto entry = Library().closeSocket;
    return entry != nullptr ? entry(s) : SOCKET_ERROR;
}

int ioctlsocket(SOCKET s, long command, u_long* argument) {
    const auto entry = Library().ioctlSocket;
    return entry != nullptr ? entry(s, command, argument) : SOCKET_ERROR;
}

int connect(SOCKET s, const sockaddr* to, int length) {
    const auto entry = Library().connect;
    return entry != nullptr ? entry(s, to, length) : SOCKET_ERROR;
}

int getsockopt(SOCKET s, int level, int name, char* value, int* length) {
    const auto entry = Library().getSockOpt;
    return entry != nullptr ? entry(s, level, name, value, length) : SOCKET_ERROR;
}

int select(int ignored, fd_set* read, fd_set* write, fd_set* failed, timeval* limit) {
    const auto entry = Library().select;
    return entry != nullptr ? entry(ignored, read, write, failed, limit) : SOCKET_ERROR;
}

int send(SOCKET s, const char* data, int size, int flags) {
    const auto entry = Library().send;
    return entry != nullptr ? entry(s, data, size, flags) : SOCKET_ERROR;
}

int recv(SOCKET s, char* buffer, int capacity, int flags) {
    const auto entry = Library().recv;
    return entry != nullptr ? entry(s, buffer, capacity, flags) : SOCKET_ERROR;
}

u_short htons(u_short host) {
    return static_cast<u_short>(((host & 0xFFu) << 8) | ((host >> 8) & 0xFFu));
}

bool IsSet(SOCKET s, const fd_set& set) {
    const u_int count = std::min<u_int>(set.fd_count, FD_SETSIZE);
    return std::find(set.fd_array, set.fd_array + count, s) != set.fd_array + count;
}

}  // namespace lumora::winsock
