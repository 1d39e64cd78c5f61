#include "upload/net/http_cookies.h"

#include <algorithm>
#include <cctype>

namespace klipora::net {
namespace {

// A server cannot grow the jar without bound.
constexpr std::size_t kMaxCookies = 64;
constexpr std::size_t kMaxCookieSize = 4096;

std::string lowerCase(std::string_view text) {
  std::string result(text);
  std::transform(result.begin(), result.end(), result.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return result;
}

std::string_view trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

bool domainMatches(const std::string& host, const std::string& domain) {
  return host == domain || (host.size() > domain.size() && host.ends_with(domain) &&
                            host[host.size() - domain.size() - 1] == '.');
}

}  // namespace

void CookieJar::store(std::string_view host, std::string_view setCookie) {
  if (setCookie.size() > kMaxCookieSize) return;
  const std::string requestHost = lowerCase(host);
  std::string_view rest = setCookie;
  const auto firstEnd = rest.find(';');
  const std::string_view pair = rest.substr(0, firstEnd);
  rest = firstEnd == std::string_view::npos ? std::string_view() : rest.substr(firstEnd + 1);
  const auto equals = pair.find('=');
  if (equals == std::string_view::npos) return;

  Cookie cookie{requestHost, true, std::string(trim(pair.substr(0, equals))),
                std::string(trim(pair.substr(equals + 1)))};
  if (cookie.name.empty()) return;
  bool expired = false;
  while (!rest.empty()) {
    const auto end = rest.find(';');
    const std::string_view attribute = trim(rest.substr(0, end));
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    const auto eq = attribute.find('=');
    const std::string key = lowerCase(trim(attribute.substr(0, eq)));
    const std::string_view value =
        eq == std::string_view::npos ? std::string_view() : trim(attribute.substr(eq + 1));
    if (key == "domain" && !value.empty()) {
      std::string domain = lowerCase(value);
      if (domain.front() == '.') domain.erase(0, 1);
      // A host may set cookies for itself and its parent domains only.
      if (!domainMatches(requestHost, domain)) return;
      cookie.domain = domain;
      cookie.hostOnly = false;
    } else if (key == "max-age") {
      expired = !value.empty() && (value.front() == '-' || value == "0");
    }
  }

  const auto same = std::find_if(cookies_.begin(), cookies_.end(), [&](const Cookie& c) {
    return c.name == cookie.name && c.domain == cookie.domain;
  });
  if (same != cookies_.end()) cookies_.erase(same);
  if (expired || cookies_.size() >= kMaxCookies) return;
  cookies_.push_back(std::move(cookie));
}

std::string CookieJar::headerFor(std::string_view host) const {
  const std::string requestHost = lowerCase(host);
  std::string header;
  for (const auto& cookie : cookies_) {
    const bool applies =
        cookie.hostOnly ? requestHost == cookie.domain : domainMatches(requestHost, cookie.domain);
    if (!applies) continue;
    if (!header.empty()) header += "; ";
    header += cookie.name + "=" + cookie.value;
  }
  return header;
}

}  // namespace klipora::net
