#pragma once
// THttpClient: HEAD, GET and multipart POST over plain HTTP, one request at a
// time. Redirects are not followed; a non-2xx answer or any "Location" is a
// failure whose text is the status line.
#include <cstdint>
#include <string>

#include "base/error.h"
#include "upload/net/http_cookies.h"
#include "upload/net/http_response.h"
#include "upload/net/tcp_connection.h"

namespace klipora::net {

class TMultipartFormStream;
struct Url;

inline constexpr char kKliporaUserAgent[] = "Mozilla/3.0 (compatible; Klipora)";
inline constexpr int kDefaultHttpReadTimeout = 60000;

// A response that arrived but counts as a failure.
class HttpError : public Error {
 public:
  HttpError(const std::string& text, int status) : Error(text), status_(status) {}
  int status() const { return status_; }

 private:
  int status_;
};

class THttpClient {
 public:
  THttpClient() = default;
  THttpClient(const THttpClient&) = delete;
  THttpClient& operator=(const THttpClient&) = delete;

  void setUserAgent(std::string agent) { userAgent_ = std::move(agent); }
  // Bounds each wait for data, in ms; 0 waits for ever.
  void setReadTimeout(int milliseconds) { readTimeout_ = milliseconds; }
  int readTimeout() const { return readTimeout_; }

  void head(const std::string& url);
  // The body as received.
  std::string get(const std::string& url);
  // A GET whose body is not wanted (a probe).
  void getDiscardingBody(const std::string& url);
  // An HTTP/1.0 POST on a fresh connection; the answer's body.
  std::string post(const std::string& url, const TMultipartFormStream& body);

  void disconnect() noexcept;

  // Of the last response received, also when it counted as a failure.
  const std::string& lastStatusLine() const { return lastStatusLine_; }
  int lastStatusCode() const { return lastStatusCode_; }

 private:
  struct Request {
    const char* method;
    const char* version;
    const TMultipartFormStream* body;
    BodyUse use;
  };

  HttpResponse perform(const std::string& url, const Request& request);
  HttpResponse exchange(const Url& url, const Request& request, const std::string& authorization);
  void open(const Url& url);
  void send(const Url& url, const Request& request, const std::string& authorization);
  std::string requestHead(const Url& url, const Request& request,
                          const std::string& authorization) const;

  TcpConnection connection_;
  std::string connectedHost_;
  std::uint16_t connectedPort_ = 0;
  bool reusable_ = false;
  std::string userAgent_;
  int readTimeout_ = kDefaultHttpReadTimeout;
  CookieJar cookies_;
  std::string lastStatusLine_;
  int lastStatusCode_ = -1;
};

}  // namespace klipora::net
