#include "upload/net/http_cookies.h"

#include <gtest/gtest.h>

namespace klipora::net {
namespace {

TEST(CookieJar, CookiesGoBackOnlyToTheHostsTheyWereSetFor) {
  CookieJar jar;
  jar.store("www.example.com", "host=1; Path=/");
  jar.store("www.example.com", "wide=2; Domain=.Example.COM; HttpOnly");
  jar.store("www.example.com", "foreign=3; Domain=other.com");  // refused
  jar.store("www.example.com", "novalue");                      // refused
  jar.store("www.example.com", "host=4");                       // replaces host=1

  const std::pair<const char*, const char*> cases[] = {
      {"www.example.com", "wide=2; host=4"},
      {"WWW.EXAMPLE.COM", "wide=2; host=4"},
      {"example.com", "wide=2"},
      {"img.example.com", "wide=2"},
      {"badexample.com", ""},
      {"other.com", ""},
  };
  for (const auto& [host, header] : cases) EXPECT_EQ(jar.headerFor(host), header) << host;

  jar.store("www.example.com", "wide=gone; Domain=example.com; Max-Age=0");
  EXPECT_EQ(jar.headerFor("www.example.com"), "host=4");
}

}  // namespace
}  // namespace klipora::net
