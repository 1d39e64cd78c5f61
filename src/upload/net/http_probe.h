#pragma once
// Does a URL answer? HEAD first; servers that refuse HEAD (400, 415, 5xx)
// are asked again with GET.
#include <string>

namespace klipora::net {

class THttpClient;

enum class UrlState {
  exists,       // a success answer
  missing,      // the server answered with a failure (404 and the like)
  unreachable,  // no HTTP answer at all: no connection, time-out, garbage
};

UrlState probeUrl(THttpClient& client, const std::string& url);

// `URLExists`: true only for UrlState::exists.
bool urlExists(THttpClient& client, const std::string& url);

}  // namespace klipora::net
