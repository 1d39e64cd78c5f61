#pragma once
// A TCP connection with the waiting rules of the user-interface thread:
// while a message pump is registered, the connect runs on its own thread
// and waits are sliced so window messages keep flowing.
#include <cstdint>
#include <string>
#include <string_view>

#include "upload/net/socket.h"

namespace klipora::net {

// The longest line a peer may send.
inline constexpr std::size_t kMaxLineLength = 16384;

// Waits until `socket` has data, calling the message pump after each idle
// slice; 0 means no limit. False when the time ran out.
bool waitForData(Socket& socket, int timeoutMilliseconds);

// Resolves `host` and connects; "Connect timed out." after two minutes
// when the pump is registered.
Socket connectTo(const std::string& host, std::uint16_t port);

class TcpConnection {
 public:
  TcpConnection() = default;
  explicit TcpConnection(Socket socket) : socket_(std::move(socket)) {}

  void open(const std::string& host, std::uint16_t port);
  bool isOpen() const { return socket_.isOpen(); }
  void close() noexcept;

  // 0: no limit.
  void setReadTimeout(int milliseconds) { readTimeout_ = milliseconds; }

  // One line without its CR LF (or LF).
  std::string readLine();
  // True when a complete line is buffered or arrives within the time.
  bool lineArrivesWithin(int milliseconds);
  // Up to `size` bytes; 0 when the peer closed the connection.
  std::size_t readSome(char* buffer, std::size_t size);
  void write(std::string_view data);

  Endpoint localEndpoint() const { return socket_.localEndpoint(); }

 private:
  void requireOpen() const;
  // Reads more into the buffer; false when the peer closed.
  bool fill();

  Socket socket_;
  std::string buffer_;
  int readTimeout_ = 0;
};

}  // namespace klipora::net
