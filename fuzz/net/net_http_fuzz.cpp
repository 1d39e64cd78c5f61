// HTTP responses: status line, headers, chunked/length/close bodies and the
// cookies they set must take any bytes without crashing or growing unbounded.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/error.h"
#include "upload/net/http_cookies.h"
#include "upload/net/http_response.h"
#include "upload/net/url.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace klipora::net;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  for (const auto use : {BodyUse::keep, BodyUse::discard}) {
    BufferInput input(text);
    try {
      HttpResponse response = readResponseHead(input);
      CookieJar cookies;
      for (const auto& value : response.headerValues("Set-Cookie"))
        cookies.store("example.com", value);
      (void)cookies.headerFor("www.example.com");
      readResponseBody(input, response, false, use);
    } catch (const klipora::Error&) {
    }
  }
  try {
    (void)parseUrl(std::string(text.substr(0, text.find('\n'))));
  } catch (const klipora::Error&) {
  }
  return 0;
}
