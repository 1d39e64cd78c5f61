#pragma once
// The platform seam for TCP: one RAII socket over BSD sockets or Winsock.
// Failures raise SocketError with the Windows socket error number.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>

namespace klipora::net {

// An IPv4 address and port, both in host byte order.
struct Endpoint {
  std::uint32_t address = 0;
  std::uint16_t port = 0;
};

// Dotted form "a.b.c.d".
std::string formatAddress(std::uint32_t address);
// A dotted IPv4 address as it is, any other name through the resolver
// (which blocks); SocketError 11001 when it cannot be resolved.
std::uint32_t resolveHost(const std::string& host);

class Socket {
 public:
  Socket() = default;
  ~Socket();
  Socket(Socket&& other) noexcept;
  Socket& operator=(Socket&& other) noexcept;
  Socket(const Socket&) = delete;
  Socket& operator=(const Socket&) = delete;

  // A new TCP socket, not yet connected.
  static Socket create();

  bool isOpen() const { return handle_ != kInvalid; }
  void close() noexcept;

  // Connects; gives up quietly (returns false) once `cancel` turns true,
  // which another thread may set.
  bool connect(const Endpoint& to, const std::atomic<bool>& cancel);
  void listen(const Endpoint& on);
  Socket accept();

  // True when data (or the peer's close) is waiting; -1 waits for ever.
  bool waitReadable(int milliseconds);
  // Bytes read; 0 when the peer has closed.
  std::size_t receive(char* buffer, std::size_t size);
  void sendAll(const char* data, std::size_t size);

  Endpoint localEndpoint() const;
  Endpoint peerEndpoint() const;

 private:
  static constexpr std::intptr_t kInvalid = -1;
  explicit Socket(std::intptr_t handle) : handle_(handle) {}
  std::intptr_t handle_ = kInvalid;
};

}  // namespace klipora::net
