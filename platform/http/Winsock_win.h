// The Winsock 2 calls of the socket layer, bound on first use to ws2_32.dll
// loaded by its full path from the system folder: the program imports no
// Winsock, so its start loads neither ws2_32 nor what ws2_32 brings with it;
// only the update check, which runs in a process of its own, loads it.
//
// Each call has the signature of the Winsock function of the same name. When
// the library or the function cannot be had, it fails as that function fails:
// WSAStartup with WSASYSNOTREADY (after which nothing else is called),
// socket with INVALID_SOCKET, gethostbyname with null, the others with
// SOCKET_ERROR; WSAGetLastError then reports WSASYSNOTREADY.
#pragma once

#include <winsock2.h>

namespace lumora::winsock {

int WSAStartup(WORD version, WSADATA* data);
int WSACleanup();
int WSAGetLastError();
hostent* gethostbyname(const char* name);
SOCKET socket(int family, int type, int protocol);
int closesocket(SOCKET s);
int ioctlsocket(SOCKET s, long command, u_long* argument);
int connect(SOCKET s, const sockaddr* to, int length);
int getsockopt(SOCKET s, int level, int name, char* value, int* length);
int select(int ignored, fd_set* read, fd_set* write, fd_set* failed, timeval* limit);
int send(SOCKET s, const char* data, int size, int flags);
int recv(SOCKET s, char* buffer, int capacity, int flags);

// What htons and FD_ISSET compute, without a call into the library.
u_short htons(u_short host);
bool IsSet(SOCKET s, const fd_set& set);

}  // namespace lumora::winsock
