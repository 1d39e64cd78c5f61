#pragma once
// The parts of an http:// URL the HTTP client needs.
#include <cstdint>
#include <string>

namespace klipora::net {

struct Url {
  std::string protocol;  // lower case; "http" when the URL names none
  std::string user;      // percent-decoded
  std::string password;  // percent-decoded
  std::string host;
  std::uint16_t port = 0;
  std::string path;  // document and query, never empty ("/")

  // What the "Host" header carries: the host, plus ":port" unless 80.
  std::string hostHeader() const;
  bool hasCredentials() const { return !user.empty() || !password.empty(); }
};

// Splits `text`; the port defaults by protocol (80 http, 443 https) and any
// other protocol without a port fails with "Unknown Protocol".
Url parseUrl(const std::string& text);

}  // namespace klipora::net
