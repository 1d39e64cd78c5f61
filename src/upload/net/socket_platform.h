#pragma once
// What the two socket back ends share below socket.h: the platform's own
// start-up step and the address conversions.
#ifdef _WIN32
#include <winsock2.h>
#else
#include <netinet/in.h>
#endif

#include "upload/net/socket.h"

namespace klipora::net {

// Winsock's start-up; nothing for BSD sockets.
void startSocketLibrary();

sockaddr_in toSockaddr(const Endpoint& endpoint);
Endpoint fromSockaddr(const sockaddr_in& address);

}  // namespace klipora::net
