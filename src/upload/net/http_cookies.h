#pragma once
// Cookies that responses set, kept for the client's lifetime and sent back
// to the host (or domain) that set them.
#include <string>
#include <string_view>
#include <vector>

namespace klipora::net {

class CookieJar {
 public:
  // Takes one "Set-Cookie" value received from `host`.
  void store(std::string_view host, std::string_view setCookie);
  // The "Cookie" header value for `host`; empty when none applies.
  std::string headerFor(std::string_view host) const;

 private:
  struct Cookie {
    std::string domain;
    bool hostOnly = true;
    std::string name;
    std::string value;
  };
  std::vector<Cookie> cookies_;
};

}  // namespace klipora::net
