// Winsock: its error numbers are already the codes the messages use.
#include <winsock2.h>
#include <ws2tcpip.h>

#include "upload/net/socket.h"
#include "upload/net/socket_error.h"
#include "upload/net/socket_platform.h"

namespace klipora::net {
namespace {

// Winsock must be started once per process before the first call.
struct WinsockStartup {
  WinsockStartup() {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
  }
  ~WinsockStartup() { WSACleanup(); }
};

[[noreturn]] void raiseLast() { throw SocketError(WSAGetLastError()); }

SOCKET native(std::intptr_t handle) { return static_cast<SOCKET>(handle); }

void setNonBlocking(SOCKET s, bool on) {
  u_long mode = on ? 1 : 0;
  if (ioctlsocket(s, FIONBIO, &mode) != 0) raiseLast();
}

}  // namespace

void startSocketLibrary() { static WinsockStartup startup; }

Socket Socket::create() {
  startSocketLibrary();
  const SOCKET s = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (s == INVALID_SOCKET) raiseLast();
  return Socket(static_cast<std::intptr_t>(s));
}

void Socket::close() noexcept {
  if (handle_ != kInvalid) closesocket(native(handle_));
  handle_ = kInvalid;
}

bool Socket::connect(const Endpoint& to, const std::atomic<bool>& cancel) {
  const SOCKET s = native(handle_);
  const auto address = toSockaddr(to);
  setNonBlocking(s, true);
  if (::connect(s, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
    if (WSAGetLastError() != WSAEWOULDBLOCK) raiseLast();
    for (;;) {
      if (cancel.load()) return false;
      WSAPOLLFD entry{s, POLLWRNORM, 0};
      const int ready = WSAPoll(&entry, 1, 100);
      if (ready < 0) raiseLast();
      if (ready > 0) break;
    }
    int error = 0;
    int length = sizeof error;
    if (getsockopt(s, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &length) != 0) {
      raiseLast();
    }
    if (error != 0) throw SocketError(error);
  }
  setNonBlocking(s, false);
  return true;
}

void Socket::listen(const Endpoint& on) {
  const auto address = toSockaddr(on);
  if (::bind(native(handle_), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
    raiseLast();
  }
  if (::listen(native(handle_), 1) != 0) raiseLast();
}

Socket Socket::accept() {
  const SOCKET s = ::accept(native(handle_), nullptr, nullptr);
  if (s == INVALID_SOCKET) raiseLast();
  return Socket(static_cast<std::intptr_t>(s));
}

bool Socket::waitReadable(int milliseconds) {
  WSAPOLLFD entry{native(handle_), POLLRDNORM, 0};
  const int ready = WSAPoll(&entry, 1, milliseconds);
  if (ready < 0) raiseLast();
  return ready > 0;
}

std::size_t Socket::receive(char* buffer, std::size_t size) {
  const int got = ::recv(native(handle_), buffer, static_cast<int>(size > 65536 ? 65536 : size), 0);
  if (got < 0) raiseLast();
  return static_cast<std::size_t>(got);
}

void Socket::sendAll(const char* data, std::size_t size) {
  while (size > 0) {
    const int chunk = static_cast<int>(size > 65536 ? 65536 : size);
    const int sent = ::send(native(handle_), data, chunk, 0);
    if (sent == SOCKET_ERROR) raiseLast();
    data += sent;
    size -= static_cast<std::size_t>(sent);
  }
}

Endpoint Socket::localEndpoint() const {
  sockaddr_in address{};
  int length = sizeof address;
  if (getsockname(native(handle_), reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    raiseLast();
  }
  return fromSockaddr(address);
}

Endpoint Socket::peerEndpoint() const {
  sockaddr_in address{};
  int length = sizeof address;
  if (getpeername(native(handle_), reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    raiseLast();
  }
  return fromSockaddr(address);
}

}  // namespace klipora::net
