#include "upload/net/http_response.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "base/error.h"
#include "upload/net/tcp_connection.h"

namespace klipora::net {
namespace {

constexpr std::size_t kMaxTrailerLines = 64;
// Blank lines a server may leave before a status line (after a body).
constexpr int kMaxLeadingBlankLines = 8;

bool equalsNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

std::string_view trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

// True when the comma-separated list `value` names `token`.
bool listContains(std::string_view value, std::string_view token) {
  while (!value.empty()) {
    const auto comma = value.find(',');
    if (equalsNoCase(trim(value.substr(0, comma)), token)) return true;
    if (comma == std::string_view::npos) break;
    value.remove_prefix(comma + 1);
  }
  return false;
}

[[noreturn]] void closedEarly() { throw Error("Connection Closed Gracefully."); }
[[noreturn]] void tooLarge() { throw Error("Response body too large."); }

class BodySink {
 public:
  BodySink(std::string& body, BodyUse use) : body_(body), use_(use) {}
  // False when a discarded body has grown past its limit.
  bool room(std::size_t more) const {
    if (use_ == BodyUse::keep) {
      if (more > kMaxResponseBody - body_.size()) tooLarge();
      return true;
    }
    return more <= kMaxDiscardedBody - seen_;
  }
  void add(const char* data, std::size_t size) {
    if (use_ == BodyUse::keep) {
      body_.append(data, size);
    }
    seen_ += size;
  }

 private:
  std::string& body_;
  BodyUse use_;
  std::size_t seen_ = 0;
};

// Exactly `count` bytes into `sink`.
void readExactly(HttpInput& input, BodySink& sink, std::size_t count) {
  char buffer[16384];
  while (count > 0) {
    const auto got = input.readSome(buffer, std::min(count, sizeof buffer));
    if (got == 0) closedEarly();
    sink.add(buffer, got);
    count -= got;
  }
}

std::size_t parseSize(std::string_view text, int base) {
  text = trim(text);
  if (text.empty()) throw Error("Invalid response length.");
  std::size_t value = 0;
  for (const char c : text) {
    int digit;
    if (c >= '0' && c <= '9') {
      digit = c - '0';
    } else if (base == 16 && c >= 'a' && c <= 'f') {
      digit = c - 'a' + 10;
    } else if (base == 16 && c >= 'A' && c <= 'F') {
      digit = c - 'A' + 10;
    } else {
      throw Error("Invalid response length.");
    }
    // Anything near this is refused by the sink anyway; stop before overflow.
    if (value > (std::size_t{1} << 48)) tooLarge();
    value = value * static_cast<std::size_t>(base) + static_cast<std::size_t>(digit);
  }
  return value;
}

// False when a discarded body was cut short.
bool readChunked(HttpInput& input, BodySink& sink) {
  for (;;) {
    const std::string line = input.readLine();
    const std::size_t size = parseSize(std::string_view(line).substr(0, line.find(';')), 16);
    if (size == 0) break;
    if (!sink.room(size)) return false;
    readExactly(input, sink, size);
    if (!input.readLine().empty()) throw Error("Invalid chunk end.");
  }
  for (std::size_t trailers = 0; !input.readLine().empty(); ++trailers) {
    if (trailers >= kMaxTrailerLines) throw Error("Too many response header lines.");
  }
  return true;
}

// Until the peer closes; false when a discarded body was cut short.
bool readUntilClose(HttpInput& input, BodySink& sink) {
  char buffer[16384];
  for (;;) {
    if (!sink.room(1)) return false;
    const auto got = input.readSome(buffer, sizeof buffer);
    if (got == 0) return true;
    if (!sink.room(got)) return false;
    sink.add(buffer, got);
  }
}

}  // namespace

std::string ConnectionInput::readLine() { return connection_.readLine(); }

std::size_t ConnectionInput::readSome(char* buffer, std::size_t size) {
  return connection_.readSome(buffer, size);
}

std::string BufferInput::readLine() {
  const auto end = data_.find('\n');
  if (end == std::string_view::npos) {
    if (data_.size() > kMaxLineLength) throw Error("Max line length exceeded.");
    closedEarly();
  }
  std::size_t length = end;
  if (length > 0 && data_[length - 1] == '\r') --length;
  if (length > kMaxLineLength) throw Error("Max line length exceeded.");
  std::string line(data_.substr(0, length));
  data_.remove_prefix(end + 1);
  return line;
}

std::size_t BufferInput::readSome(char* buffer, std::size_t size) {
  const auto count = std::min(size, data_.size());
  std::memcpy(buffer, data_.data(), count);
  data_.remove_prefix(count);
  return count;
}

std::optional<std::string> HttpResponse::header(std::string_view name) const {
  for (const auto& [key, value] : headers) {
    if (equalsNoCase(key, name)) return value;
  }
  return std::nullopt;
}

std::vector<std::string> HttpResponse::headerValues(std::string_view name) const {
  std::vector<std::string> values;
  for (const auto& [key, value] : headers) {
    if (equalsNoCase(key, name)) values.push_back(value);
  }
  return values;
}

int parseStatusCode(std::string_view statusLine) {
  const auto blank = statusLine.find(' ');
  if (blank == std::string_view::npos) return -1;
  std::string_view code = statusLine.substr(blank + 1);
  code = code.substr(0, code.find(' '));
  if (code.empty() || code.size() > 3 ||
      !std::all_of(code.begin(), code.end(), [](unsigned char c) { return std::isdigit(c); })) {
    return -1;
  }
  return std::stoi(std::string(code));
}

HttpResponse readResponseHead(HttpInput& input) {
  for (;;) {
    HttpResponse response;
    for (int blank = 0; response.statusLine.empty(); ++blank) {
      if (blank > kMaxLeadingBlankLines) throw Error("Invalid HTTP response.");
      response.statusLine = input.readLine();
    }
    response.statusCode = parseStatusCode(response.statusLine);
    for (;;) {
      std::string line = input.readLine();
      if (line.empty()) break;
      if ((line.front() == ' ' || line.front() == '\t') && !response.headers.empty()) {
        // A folded line continues the previous header.
        auto& value = response.headers.back().second;
        const auto more = trim(line);
        if (value.size() + more.size() + 1 > kMaxLineLength)
          throw Error("Max line length exceeded.");
        value.append(" ").append(more);
        continue;
      }
      if (response.headers.size() >= kMaxHeaderLines)
        throw Error("Too many response header lines.");
      const auto colon = line.find(':');
      const std::string_view text(line);
      response.headers.emplace_back(
          std::string(trim(text.substr(0, colon))),
          colon == std::string::npos ? std::string() : std::string(trim(text.substr(colon + 1))));
    }
    // An interim answer (100 Continue and the like) precedes the real one.
    if (response.statusCode >= 100 && response.statusCode < 200) continue;

    const bool http10 = response.statusLine.rfind("HTTP/1.0", 0) == 0;
    const auto connection = response.header("Connection").value_or("");
    response.keepAlive =
        http10 ? listContains(connection, "keep-alive")
               : response.statusLine.rfind("HTTP/1.", 0) == 0 && !listContains(connection, "close");
    return response;
  }
}

void readResponseBody(HttpInput& input, HttpResponse& response, bool headRequest, BodyUse use) {
  if (headRequest || response.statusCode == 204 || response.statusCode == 304) return;
  BodySink sink(response.body, use);
  const auto encoding = response.header("Transfer-Encoding");
  bool complete;
  if (encoding && !equalsNoCase(trim(*encoding), "identity")) {
    if (!listContains(*encoding, "chunked")) throw Error("Unsupported transfer encoding.");
    complete = readChunked(input, sink);
  } else if (const auto length = response.header("Content-Length")) {
    const std::size_t size = parseSize(*length, 10);
    complete = sink.room(size);
    if (complete) readExactly(input, sink, size);
  } else {
    complete = readUntilClose(input, sink);
    response.keepAlive = false;
  }
  if (!complete) response.keepAlive = false;
}

}  // namespace klipora::net
