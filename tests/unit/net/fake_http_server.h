#pragma once
// A scripted HTTP server on 127.0.0.1: answers the requests it receives, in
// order, with canned raw responses and records what the client sent.
#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace klipora::net::testing {

struct HttpAnswer {
  std::string raw;      // status line, headers, blank line and body as sent
  bool close = true;    // close the connection after this answer
  bool silent = false;  // send nothing and keep the connection (a stalled server)
};

struct ReceivedRequest {
  std::string head;  // request line and headers, up to and including the blank line
  std::string body;  // as many bytes as Content-Length named
  int connection;    // counts accepted connections from 1
};

class FakeHttpServer {
 public:
  explicit FakeHttpServer(std::vector<HttpAnswer> answers);
  ~FakeHttpServer();
  std::uint16_t port() const { return port_; }
  std::string url(const std::string& path = "/upload.php") const;
  std::vector<ReceivedRequest> requests();

 private:
  void run();
  void serve(int fd, int connection, std::size_t& next);

  std::vector<HttpAnswer> answers_;
  int listener_ = -1;
  std::uint16_t port_ = 0;
  std::atomic<bool> stop_{false};
  std::mutex mutex_;
  std::vector<ReceivedRequest> requests_;
  std::thread thread_;
};

// "HTTP/1.1 <status>" with Content-Length for `body` and the extra headers
// (each ending in CR LF).
std::string httpAnswer(const std::string& status, const std::string& body,
                       const std::string& headers = "");

}  // namespace klipora::net::testing
