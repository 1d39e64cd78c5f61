#include "upload/net/http_client.h"

#include <algorithm>
#include <cctype>
#include <utility>
#include <vector>

#include "upload/net/multipart_form_stream.h"
#include "upload/net/socket_error.h"
#include "upload/net/url.h"

namespace klipora::net {
namespace {

constexpr int kMaxAuthorizationTries = 3;
constexpr std::size_t kMaxHeaderLineLength = 1024;

std::string base64(std::string_view data) {
  static constexpr char kDigits[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string result;
  for (std::size_t i = 0; i < data.size(); i += 3) {
    const std::size_t n = std::min<std::size_t>(3, data.size() - i);
    std::uint32_t group = 0;
    for (std::size_t k = 0; k < 3; ++k) {
      group = group << 8 | (k < n ? static_cast<unsigned char>(data[i + k]) : 0u);
    }
    for (std::size_t k = 0; k < 4; ++k) {
      result += k <= n ? kDigits[(group >> (18 - 6 * k)) & 63] : '=';
    }
  }
  return result;
}

// Blanks, controls and non-ASCII bytes cannot stand in a request line.
std::string requestPath(const std::string& path) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string result;
  for (const char c : path) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte <= 0x20 || byte >= 0x7f) {
      result += '%';
      result += kHex[byte >> 4];
      result += kHex[byte & 15];
    } else {
      result += c;
    }
  }
  return result;
}

// "Name: value" CR LF; a line over 1024 characters is folded at blanks onto
// continuation lines.
void appendHeader(std::string& out, std::string_view name, std::string_view value) {
  if (value.empty()) return;
  std::string line = std::string(name) + ": " + std::string(value);
  while (line.size() > kMaxHeaderLineLength) {
    const auto blank = line.rfind(' ', kMaxHeaderLineLength);
    if (blank == std::string::npos || blank <= name.size() + 1) break;
    out.append(line, 0, blank).append("\r\n");
    line.erase(0, blank);  // the blank starts the continuation line
  }
  out.append(line).append("\r\n");
}

bool isSuccess(const HttpResponse& response) {
  return response.statusCode >= 200 && response.statusCode <= 299 && !response.header("Location");
}

// The first word of each WWW-Authenticate challenge, upper case.
std::vector<std::string> authSchemes(const HttpResponse& response) {
  std::vector<std::string> schemes;
  for (const auto& challenge : response.headerValues("WWW-Authenticate")) {
    std::string scheme = challenge.substr(0, challenge.find(' '));
    std::transform(scheme.begin(), scheme.end(), scheme.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    schemes.push_back(std::move(scheme));
  }
  return schemes;
}

// A kept-alive connection the server has quietly closed fails this way on
// first use; a read time-out is no such sign.
bool isStaleConnectionError(const Error& error) {
  return dynamic_cast<const SocketError*>(&error) ||
         std::string_view(error.what()) == "Connection Closed Gracefully.";
}

}  // namespace

void THttpClient::head(const std::string& url) {
  perform(url, {"HEAD", "1.1", nullptr, BodyUse::discard});
}

std::string THttpClient::get(const std::string& url) {
  return perform(url, {"GET", "1.1", nullptr, BodyUse::keep}).body;
}

void THttpClient::getDiscardingBody(const std::string& url) {
  perform(url, {"GET", "1.1", nullptr, BodyUse::discard});
}

std::string THttpClient::post(const std::string& url, const TMultipartFormStream& body) {
  return perform(url, {"POST", "1.0", &body, BodyUse::keep}).body;
}

void THttpClient::disconnect() noexcept {
  connection_.close();
  reusable_ = false;
}

HttpResponse THttpClient::perform(const std::string& text, const Request& request) {
  // A failure before any answer must not show an older request's status.
  lastStatusLine_.clear();
  lastStatusCode_ = -1;
  const Url url = parseUrl(text);
  if (url.protocol == "https") throw Error("IOHandler value is not valid");
  if (url.protocol != "http") throw Error("Unknown Protocol");

  std::string authorization;
  for (int tries = 0;; ++tries) {
    HttpResponse response = exchange(url, request, authorization);
    if (response.statusCode == 401 && url.hasCredentials() && tries < kMaxAuthorizationTries) {
      const auto schemes = authSchemes(response);
      if (std::find(schemes.begin(), schemes.end(), "BASIC") != schemes.end()) {
        authorization = "Basic " + base64(url.user + ":" + url.password);
        continue;
      }
      if (!schemes.empty()) {
        throw HttpError(response.statusLine + " (authentication scheme " + schemes.front() +
                            " is not supported)",
                        response.statusCode);
      }
    }
    if (!isSuccess(response)) throw HttpError(response.statusLine, response.statusCode);
    return response;
  }
}

void THttpClient::open(const Url& url) {
  disconnect();
  connection_.open(url.host, url.port);
  connectedHost_ = url.host;
  connectedPort_ = url.port;
}

HttpResponse THttpClient::exchange(const Url& url, const Request& request,
                                   const std::string& authorization) {
  // A POST always starts afresh; other requests reuse a connection the last
  // answer left open to the same host and port.
  const bool reuse = !request.body && reusable_ && connection_.isOpen() &&
                     connectedHost_ == url.host && connectedPort_ == url.port;
  if (!reuse) open(url);
  reusable_ = false;
  connection_.setReadTimeout(readTimeout_);
  ConnectionInput input(connection_);

  HttpResponse response;
  try {
    send(url, request, authorization);
    response = readResponseHead(input);
  } catch (const Error& error) {
    if (!reuse || !isStaleConnectionError(error)) throw;
    open(url);
    connection_.setReadTimeout(readTimeout_);
    send(url, request, authorization);
    response = readResponseHead(input);
  }
  lastStatusLine_ = response.statusLine;
  lastStatusCode_ = response.statusCode;
  for (const auto& value : response.headerValues("Set-Cookie")) cookies_.store(url.host, value);

  const bool headRequest = std::string_view(request.method) == "HEAD";
  readResponseBody(input, response, headRequest,
                   isSuccess(response) ? request.use : BodyUse::discard);
  reusable_ = response.keepAlive;
  if (!reusable_) connection_.close();
  return response;
}

void THttpClient::send(const Url& url, const Request& request, const std::string& authorization) {
  connection_.write(requestHead(url, request, authorization));
  if (!request.body) return;
  try {
    for (const auto piece : request.body->pieces()) connection_.write(piece);
  } catch (const SocketError&) {
    // A server may answer (413, 401) and close before taking the whole
    // body; its answer says more than the broken pipe. Read it if it came.
    bool answered = false;
    try {
      answered = connection_.lineArrivesWithin(0);
    } catch (const Error&) {
    }
    if (answered) return;
    throw;
  }
}

std::string THttpClient::requestHead(const Url& url, const Request& request,
                                     const std::string& authorization) const {
  std::string head = std::string(request.method) + " " + requestPath(url.path) + " HTTP/" +
                     request.version + "\r\n";
  if (request.body) {
    appendHeader(head, "Connection", "keep-alive");
    appendHeader(head, "Content-Type", request.body->contentType());
    appendHeader(head, "Content-Length", std::to_string(request.body->size()));
  }
  appendHeader(head, "Host", url.hostHeader());
  appendHeader(head, "Accept", "text/html, */*");
  appendHeader(head, "Accept-Encoding", "identity");
  appendHeader(head, "User-Agent", userAgent_);
  appendHeader(head, "Authorization", authorization);
  appendHeader(head, "Cookie", cookies_.headerFor(url.host));
  head += "\r\n";
  return head;
}

}  // namespace klipora::net
