#pragma once
// Reading one HTTP response: status line, header lines and body, with every
// size a server controls bounded.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace klipora::net {

class TcpConnection;

inline constexpr std::size_t kMaxHeaderLines = 255;
// A kept body (a script's answer, a fetched test file) larger than this fails.
inline constexpr std::size_t kMaxResponseBody = 32 * 1024 * 1024;
// A discarded body longer than this is not read to its end; the connection
// is dropped instead of reused.
inline constexpr std::size_t kMaxDiscardedBody = 1024 * 1024;

// Where the response comes from: a connection, or a buffer for tests.
class HttpInput {
 public:
  virtual ~HttpInput() = default;
  // One line without its line end; fails on a closed peer or an overlong line.
  virtual std::string readLine() = 0;
  // Up to `size` bytes; 0 once the peer has closed.
  virtual std::size_t readSome(char* buffer, std::size_t size) = 0;
};

class ConnectionInput final : public HttpInput {
 public:
  explicit ConnectionInput(TcpConnection& connection) : connection_(connection) {}
  std::string readLine() override;
  std::size_t readSome(char* buffer, std::size_t size) override;

 private:
  TcpConnection& connection_;
};

// Serves a fixed text with the same failure texts as a connection.
class BufferInput final : public HttpInput {
 public:
  explicit BufferInput(std::string_view data) : data_(data) {}
  std::string readLine() override;
  std::size_t readSome(char* buffer, std::size_t size) override;

 private:
  std::string_view data_;
};

struct HttpResponse {
  std::string statusLine;
  int statusCode = -1;
  std::vector<std::pair<std::string, std::string>> headers;
  std::string body;
  // The connection may carry the next request.
  bool keepAlive = false;

  // The first header of that name (case-insensitive).
  std::optional<std::string> header(std::string_view name) const;
  std::vector<std::string> headerValues(std::string_view name) const;
};

enum class BodyUse { keep, discard };

// The code after the status line's first blank; -1 when that is no number.
int parseStatusCode(std::string_view statusLine);

// Reads status line and headers (1xx interim answers are skipped).
HttpResponse readResponseHead(HttpInput& input);
// Reads the body as the head says: none for HEAD and 204/304, by
// Content-Length, by chunks, or until the peer closes.
void readResponseBody(HttpInput& input, HttpResponse& response, bool headRequest, BodyUse use);

}  // namespace klipora::net
