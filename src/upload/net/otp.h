#pragma once
// RFC 2289 one-time passwords: the response a server's "otp-md5 499 seed"
// challenge asks for, in the six-word form.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace klipora::net {

enum class OtpHash { Md4, Md5, Sha1 };

struct OtpChallenge {
  OtpHash hash = OtpHash::Md5;
  int sequence = 0;
  std::string seed;
};

// Finds "otp-<hash> <sequence> <seed>" in a reply text.
std::optional<OtpChallenge> findOtpChallenge(std::string_view text);

// The 64-bit one-time password, as the RFC's hexadecimal form reads it.
std::array<std::uint8_t, 8> otpKey(OtpHash hash, int sequence, std::string_view seed,
                                   std::string_view passphrase);
// Six dictionary words with the two checksum bits, separated by blanks.
std::string otpSixWords(const std::array<std::uint8_t, 8>& key);

std::string otpResponse(const OtpChallenge& challenge, std::string_view passphrase);

}  // namespace klipora::net
