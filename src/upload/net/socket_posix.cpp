// BSD sockets; errno values are reported as the Windows socket codes the
// messages are defined for.
#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

#include "upload/net/socket.h"
#include "upload/net/socket_error.h"
#include "upload/net/socket_platform.h"

namespace klipora::net {
namespace {

int windowsCode(int error) {
  switch (error) {
    case EINTR:
      return 10004;
    case EBADF:
      return 10009;
    case EACCES:
      return 10013;
    case EFAULT:
      return 10014;
    case EINVAL:
      return 10022;
    case EMFILE:
      return 10024;
    case EWOULDBLOCK:
      return 10035;
    case EINPROGRESS:
      return 10036;
    case EALREADY:
      return 10037;
    case ENOTSOCK:
      return 10038;
    case EDESTADDRREQ:
      return 10039;
    case EMSGSIZE:
      return 10040;
    case EPROTOTYPE:
      return 10041;
    case ENOPROTOOPT:
      return 10042;
    case EPROTONOSUPPORT:
      return 10043;
    case ESOCKTNOSUPPORT:
      return 10044;
    case EOPNOTSUPP:
      return 10045;
    case EPFNOSUPPORT:
      return 10046;
    case EAFNOSUPPORT:
      return 10047;
    case EADDRINUSE:
      return 10048;
    case EADDRNOTAVAIL:
      return 10049;
    case ENETDOWN:
      return 10050;
    case ENETUNREACH:
      return 10051;
    case ENETRESET:
      return 10052;
    case ECONNABORTED:
      return 10053;
    case ECONNRESET:
      return 10054;
    case EPIPE:
      return 10054;  // Winsock reports a write to a reset peer so
    case ENOBUFS:
      return 10055;
    case EISCONN:
      return 10056;
    case ENOTCONN:
      return 10057;
    case ESHUTDOWN:
      return 10058;
    case ETOOMANYREFS:
      return 10059;
    case ETIMEDOUT:
      return 10060;
    case ECONNREFUSED:
      return 10061;
    case ELOOP:
      return 10062;
    case ENAMETOOLONG:
      return 10063;
    case EHOSTDOWN:
      return 10064;
    case EHOSTUNREACH:
      return 10065;
    case ENOTEMPTY:
      return 10066;
    default:
      return error;
  }
}

[[noreturn]] void raise(int error) { throw SocketError(windowsCode(error)); }
[[noreturn]] void raiseLast() { raise(errno); }

void setNonBlocking(int fd, bool on) {
  const int flags = fcntl(fd, F_GETFL, 0);
  if (flags < 0 || fcntl(fd, F_SETFL, on ? flags | O_NONBLOCK : flags & ~O_NONBLOCK) < 0) {
    raiseLast();
  }
}

}  // namespace

// BSD sockets need no start-up.
void startSocketLibrary() {}

Socket Socket::create() {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) raiseLast();
  return Socket(fd);
}

void Socket::close() noexcept {
  if (handle_ != kInvalid) ::close(static_cast<int>(handle_));
  handle_ = kInvalid;
}

bool Socket::connect(const Endpoint& to, const std::atomic<bool>& cancel) {
  const int fd = static_cast<int>(handle_);
  const auto address = toSockaddr(to);
  setNonBlocking(fd, true);
  if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
    if (errno != EINPROGRESS) raiseLast();
    for (;;) {
      if (cancel.load()) return false;
      pollfd entry{fd, POLLOUT, 0};
      const int ready = ::poll(&entry, 1, 100);
      if (ready < 0 && errno != EINTR) raiseLast();
      if (ready > 0) break;
    }
    int error = 0;
    socklen_t length = sizeof error;
    if (getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) != 0) raiseLast();
    if (error != 0) raise(error);
  }
  setNonBlocking(fd, false);
  return true;
}

void Socket::listen(const Endpoint& on) {
  const int fd = static_cast<int>(handle_);
  const int yes = 1;
  setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
  const auto address = toSockaddr(on);
  if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) raiseLast();
  if (::listen(fd, 1) != 0) raiseLast();
}

Socket Socket::accept() {
  const int fd = ::accept4(static_cast<int>(handle_), nullptr, nullptr, SOCK_CLOEXEC);
  if (fd < 0) raiseLast();
  return Socket(fd);
}

bool Socket::waitReadable(int milliseconds) {
  pollfd entry{static_cast<int>(handle_), POLLIN, 0};
  for (;;) {
    const int ready = ::poll(&entry, 1, milliseconds);
    if (ready >= 0) return ready > 0;
    if (errno != EINTR) raiseLast();
  }
}

std::size_t Socket::receive(char* buffer, std::size_t size) {
  for (;;) {
    const auto got = ::recv(static_cast<int>(handle_), buffer, size, 0);
    if (got >= 0) return static_cast<std::size_t>(got);
    if (errno != EINTR) raiseLast();
  }
}

void Socket::sendAll(const char* data, std::size_t size) {
  while (size > 0) {
    const auto sent = ::send(static_cast<int>(handle_), data, size, MSG_NOSIGNAL);
    if (sent < 0) {
      if (errno == EINTR) continue;
      raiseLast();
    }
    data += sent;
    size -= static_cast<std::size_t>(sent);
  }
}

Endpoint Socket::localEndpoint() const {
  sockaddr_in address{};
  socklen_t length = sizeof address;
  if (getsockname(static_cast<int>(handle_), reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    raiseLast();
  }
  return fromSockaddr(address);
}

Endpoint Socket::peerEndpoint() const {
  sockaddr_in address{};
  socklen_t length = sizeof address;
  if (getpeername(static_cast<int>(handle_), reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    raiseLast();
  }
  return fromSockaddr(address);
}

}  // namespace klipora::net
