#include "upload/net/tcp_connection.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <exception>
#include <future>
#include <thread>

#include "base/error.h"
#include "base/message_pump.h"

namespace klipora::net {
namespace {

constexpr int kIdleSlice = 250;
constexpr int kConnectStep = 125;
constexpr int kConnectLimit = 120000;

}  // namespace

bool waitForData(Socket& socket, int timeoutMilliseconds) {
  MessagePump* pump = activeMessagePump();
  if (!pump) return socket.waitReadable(timeoutMilliseconds > 0 ? timeoutMilliseconds : -1);
  int waited = 0;
  for (;;) {
    int slice = kIdleSlice;
    if (timeoutMilliseconds > 0) slice = std::min(slice, timeoutMilliseconds - waited);
    if (socket.waitReadable(slice)) return true;
    waited += slice;
    // Messages are handled only after a slice that brought no data.
    pump->processPendingMessages();
    if (timeoutMilliseconds > 0 && waited >= timeoutMilliseconds) return false;
  }
}

Socket connectTo(const std::string& host, std::uint16_t port) {
  const Endpoint to{resolveHost(host), port};
  Socket socket = Socket::create();
  MessagePump* pump = activeMessagePump();
  std::atomic<bool> cancel{false};
  if (!pump) {
    socket.connect(to, cancel);
    return socket;
  }
  // The connect thread touches nothing but the socket; the caller keeps
  // the messages flowing until it finishes or the time runs out.
  auto done = std::async(std::launch::async, [&] { socket.connect(to, cancel); });
  int waited = 0;
  try {
    while (done.wait_for(std::chrono::milliseconds(kConnectStep)) != std::future_status::ready) {
      pump->processPendingMessages();
      waited += kConnectStep;
      if (waited >= kConnectLimit) throw Error("Connect timed out.");
    }
  } catch (...) {
    // Stop the connect thread before the socket goes away.
    cancel = true;
    done.wait();
    throw;
  }
  done.get();
  return socket;
}

void TcpConnection::open(const std::string& host, std::uint16_t port) {
  buffer_.clear();
  socket_ = connectTo(host, port);
}

void TcpConnection::close() noexcept {
  socket_.close();
  buffer_.clear();
}

void TcpConnection::requireOpen() const {
  if (!socket_.isOpen()) throw Error("Not Connected");
}

bool TcpConnection::fill() {
  if (!waitForData(socket_, readTimeout_)) throw Error("Read timed out.");
  char chunk[4096];
  const auto got = socket_.receive(chunk, sizeof chunk);
  if (got == 0) return false;
  buffer_.append(chunk, got);
  return true;
}

std::string TcpConnection::readLine() {
  requireOpen();
  std::size_t searched = 0;
  for (;;) {
    const auto end = buffer_.find('\n', searched);
    if (end != std::string::npos) {
      std::size_t length = end;
      if (length > 0 && buffer_[length - 1] == '\r') --length;
      if (length > kMaxLineLength) throw Error("Max line length exceeded.");
      std::string line = buffer_.substr(0, length);
      buffer_.erase(0, end + 1);
      return line;
    }
    // Bounded memory: a peer that never ends its line is cut off.
    if (buffer_.size() > kMaxLineLength + 1) throw Error("Max line length exceeded.");
    searched = buffer_.size();
    if (!fill()) {
      close();
      throw Error("Connection Closed Gracefully.");
    }
  }
}

bool TcpConnection::lineArrivesWithin(int milliseconds) {
  if (buffer_.find('\n') != std::string::npos) return true;
  if (!socket_.isOpen() || !socket_.waitReadable(milliseconds)) return false;
  char chunk[4096];
  const auto got = socket_.receive(chunk, sizeof chunk);
  buffer_.append(chunk, got);
  return got > 0;
}

std::size_t TcpConnection::readSome(char* buffer, std::size_t size) {
  requireOpen();
  if (buffer_.empty()) {
    if (!fill()) return 0;
  }
  const auto count = std::min(size, buffer_.size());
  std::copy_n(buffer_.data(), count, buffer);
  buffer_.erase(0, count);
  return count;
}

void TcpConnection::write(std::string_view data) {
  requireOpen();
  socket_.sendAll(data.data(), data.size());
}

}  // namespace klipora::net
