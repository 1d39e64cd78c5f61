// Server replies: the reply reader, the 227 address and the one-time
// password challenge must take any bytes without crashing or growing.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "upload/net/ftp_client.h"
#include "upload/net/ftp_reply.h"
#include "upload/net/otp.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace klipora::net;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  FtpReplyReader reader;
  std::size_t start = 0;
  try {
    for (std::size_t i = 0; i <= text.size(); ++i) {
      if (i < text.size() && text[i] != '\n') continue;
      auto line = text.substr(start, i - start);
      if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
      start = i + 1;
      if (auto reply = reader.addLine(line)) {
        (void)replyText(*reply);
        try {
          (void)parsePassiveReply(*reply);
        } catch (const klipora::Error&) {
        }
      }
    }
  } catch (const klipora::Error&) {
  }
  if (const auto challenge = findOtpChallenge(text)) (void)otpResponse(*challenge, "password");
  return 0;
}
