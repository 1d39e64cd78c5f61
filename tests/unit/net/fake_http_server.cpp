#include "fake_http_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>

namespace klipora::net::testing {
namespace {

constexpr int kSliceMs = 50;
constexpr int kMaxWaitMs = 10000;

// Waits for `fd` in short slices so the server can be stopped.
bool readable(int fd, const std::atomic<bool>& stop) {
  for (int waited = 0; waited < kMaxWaitMs && !stop; waited += kSliceMs) {
    pollfd entry{fd, POLLIN, 0};
    if (::poll(&entry, 1, kSliceMs) > 0) return true;
  }
  return false;
}

}  // namespace

std::string httpAnswer(const std::string& status, const std::string& body,
                       const std::string& headers) {
  return "HTTP/1.1 " + status + "\r\nContent-Length: " + std::to_string(body.size()) + "\r\n" +
         headers + "\r\n" + body;
}

FakeHttpServer::FakeHttpServer(std::vector<HttpAnswer> answers) : answers_(std::move(answers)) {
  listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      ::listen(listener_, 4) != 0) {
    throw std::runtime_error("fake server cannot listen");
  }
  socklen_t length = sizeof address;
  getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
  port_ = ntohs(address.sin_port);
  thread_ = std::thread([this] { run(); });
}

FakeHttpServer::~FakeHttpServer() {
  stop_ = true;
  thread_.join();
  ::close(listener_);
}

std::string FakeHttpServer::url(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(port_) + path;
}

std::vector<ReceivedRequest> FakeHttpServer::requests() {
  std::lock_guard lock(mutex_);
  return requests_;
}

void FakeHttpServer::run() {
  std::size_t next = 0;
  for (int connection = 1; next < answers_.size() && readable(listener_, stop_); ++connection) {
    const int fd = ::accept(listener_, nullptr, nullptr);
    if (fd < 0) return;
    serve(fd, connection, next);
    ::close(fd);
  }
}

void FakeHttpServer::serve(int fd, int connection, std::size_t& next) {
  std::string buffer;
  while (next < answers_.size()) {
    std::size_t headEnd;
    while ((headEnd = buffer.find("\r\n\r\n")) == std::string::npos) {
      char chunk[65536];
      if (!readable(fd, stop_)) return;
      const auto got = ::recv(fd, chunk, sizeof chunk, 0);
      if (got <= 0) return;
      buffer.append(chunk, static_cast<std::size_t>(got));
    }
    ReceivedRequest request{buffer.substr(0, headEnd + 4), {}, connection};
    buffer.erase(0, headEnd + 4);
    std::size_t length = 0;
    if (const auto at = request.head.find("Content-Length: "); at != std::string::npos) {
      length = std::stoul(request.head.substr(at + 16));
    }
    while (buffer.size() < length) {
      char chunk[65536];
      if (!readable(fd, stop_)) return;
      const auto got = ::recv(fd, chunk, sizeof chunk, 0);
      if (got <= 0) return;
      buffer.append(chunk, static_cast<std::size_t>(got));
    }
    request.body = buffer.substr(0, length);
    buffer.erase(0, length);
    {
      std::lock_guard lock(mutex_);
      requests_.push_back(std::move(request));
    }
    const HttpAnswer& answer = answers_[next++];
    if (answer.silent) {
      while (!stop_) ::usleep(kSliceMs * 1000);
      return;
    }
    (void)!::send(fd, answer.raw.data(), answer.raw.size(), MSG_NOSIGNAL);
    if (answer.close) return;
  }
}

}  // namespace klipora::net::testing
