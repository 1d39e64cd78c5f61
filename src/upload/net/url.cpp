#include "upload/net/url.h"

#include <algorithm>
#include <cctype>

#include "base/error.h"

namespace klipora::net {
namespace {

std::string lowerCase(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string percentDecode(const std::string& text) {
  std::string result;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size() && hexValue(text[i + 1]) >= 0 &&
        hexValue(text[i + 2]) >= 0) {
      result += static_cast<char>(hexValue(text[i + 1]) * 16 + hexValue(text[i + 2]));
      i += 2;
    } else {
      result += text[i];
    }
  }
  return result;
}

std::uint16_t parsePort(const std::string& text) {
  if (text.empty() || text.size() > 5 ||
      !std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c); })) {
    throw Error("Invalid port number: " + text);
  }
  const int port = std::stoi(text);
  if (port < 1 || port > 65535) throw Error("Invalid port number: " + text);
  return static_cast<std::uint16_t>(port);
}

}  // namespace

std::string Url::hostHeader() const {
  return port == 80 ? host : host + ":" + std::to_string(port);
}

Url parseUrl(const std::string& text) {
  Url url;
  std::string rest = text;
  const auto fragment = rest.find('#');
  if (fragment != std::string::npos) rest.erase(fragment);

  const auto scheme = rest.find("://");
  if (scheme != std::string::npos) {
    url.protocol = lowerCase(rest.substr(0, scheme));
    rest.erase(0, scheme + 3);
  } else {
    url.protocol = "http";
  }

  const auto pathStart = rest.find_first_of("/?");
  std::string authority = rest.substr(0, pathStart);
  url.path = pathStart == std::string::npos ? "/" : rest.substr(pathStart);
  if (url.path.front() == '?') url.path = "/" + url.path;

  // The last "@" ends the credentials: a password may hold one unencoded.
  const auto at = authority.rfind('@');
  if (at != std::string::npos) {
    const std::string credentials = authority.substr(0, at);
    authority.erase(0, at + 1);
    const auto colon = credentials.find(':');
    url.user = percentDecode(credentials.substr(0, colon));
    if (colon != std::string::npos) url.password = percentDecode(credentials.substr(colon + 1));
  }

  const auto colon = authority.rfind(':');
  if (colon != std::string::npos && authority.find(']') == std::string::npos) {
    url.host = authority.substr(0, colon);
    url.port = parsePort(authority.substr(colon + 1));
  } else {
    url.host = authority;
    if (url.protocol == "http") {
      url.port = 80;
    } else if (url.protocol == "https") {
      url.port = 443;
    } else {
      throw Error("Unknown Protocol");
    }
  }
  return url;
}

}  // namespace klipora::net
