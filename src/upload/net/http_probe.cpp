#include "upload/net/http_probe.h"

#include "upload/net/http_client.h"

namespace klipora::net {
namespace {

bool retryWithGet(int status) { return status == 400 || status == 415 || status >= 500; }

UrlState judgeFailure(const HttpError& error) {
  // A status line without a code is no HTTP answer.
  return error.status() < 0 ? UrlState::unreachable : UrlState::missing;
}

}  // namespace

UrlState probeUrl(THttpClient& client, const std::string& url) {
  try {
    client.head(url);
    return UrlState::exists;
  } catch (const HttpError& error) {
    if (!retryWithGet(error.status())) return judgeFailure(error);
  } catch (const Error&) {
    return UrlState::unreachable;
  }
  try {
    client.getDiscardingBody(url);
    return UrlState::exists;
  } catch (const HttpError& error) {
    return judgeFailure(error);
  } catch (const Error&) {
    return UrlState::unreachable;
  }
}

bool urlExists(THttpClient& client, const std::string& url) {
  return probeUrl(client, url) == UrlState::exists;
}

}  // namespace klipora::net
