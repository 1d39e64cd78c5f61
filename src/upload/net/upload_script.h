#pragma once
// The two actions of the server-side upload script, posted as multipart
// forms, and how their answers are judged.
#include <string>

namespace klipora::net {

class THttpClient;

inline constexpr int kScriptReadTimeout = 60000;

// Stores `bytes` as `remoteName`: success is status 200 with a body free of
// "ERROR". Fails with the status line or, for an "ERROR" body, the whole body.
void uploadWithScript(THttpClient& client, const std::string& scriptUrl,
                      const std::string& remoteName, std::string bytes);

// Removes `remoteName`: success is status 200, or another 2xx whose status
// line holds "OK". Fails with the status line.
void deleteWithScript(THttpClient& client, const std::string& scriptUrl,
                      const std::string& remoteName);

}  // namespace klipora::net
