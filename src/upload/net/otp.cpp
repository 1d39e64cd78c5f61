#include "upload/net/otp.h"

#include <cctype>
#include <vector>

#include "upload/net/digest.h"
#include "upload/net/otp_words.h"

namespace klipora::net {
namespace {

// A server cannot make us hash for ever.
constexpr int kMaxSequence = 100000;

std::string lowerCase(std::string_view text) {
  std::string out(text);
  for (auto& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

// Hashes and folds to 64 bits, as the RFC does for each algorithm.
std::array<std::uint8_t, 8> hashFold(OtpHash hash, std::span<const std::uint8_t> data) {
  std::array<std::uint8_t, 8> out{};
  if (hash == OtpHash::Sha1) {
    const auto d = sha1Digest(data);
    // The RFC folds the digest as five 32-bit words and writes each folded
    // word least significant byte first.
    for (std::size_t word = 0; word < 2; ++word) {
      for (std::size_t b = 0; b < 4; ++b) {
        std::uint8_t v = d[word * 4 + b] ^ d[(word + 2) * 4 + b];
        if (word == 0) v ^= d[16 + b];
        out[word * 4 + (3 - b)] = v;
      }
    }
    return out;
  }
  const auto d = hash == OtpHash::Md4 ? md4Digest(data) : md5Digest(data);
  for (std::size_t i = 0; i < 8; ++i) out[i] = d[i] ^ d[i + 8];
  return out;
}

}  // namespace

std::optional<OtpChallenge> findOtpChallenge(std::string_view text) {
  const std::string lower = lowerCase(text);
  for (std::size_t at = lower.find("otp-"); at != std::string::npos;
       at = lower.find("otp-", at + 1)) {
    std::string_view rest = std::string_view(lower).substr(at + 4);
    OtpChallenge challenge;
    if (rest.starts_with("md4 ")) {
      challenge.hash = OtpHash::Md4;
      rest.remove_prefix(4);
    } else if (rest.starts_with("md5 ")) {
      challenge.hash = OtpHash::Md5;
      rest.remove_prefix(4);
    } else if (rest.starts_with("sha1 ")) {
      challenge.hash = OtpHash::Sha1;
      rest.remove_prefix(5);
    } else {
      continue;
    }
    std::size_t pos = 0;
    long sequence = 0;
    while (pos < rest.size() && std::isdigit(static_cast<unsigned char>(rest[pos]))) {
      sequence = sequence * 10 + (rest[pos] - '0');
      if (sequence > kMaxSequence) break;
      ++pos;
    }
    if (pos == 0 || sequence > kMaxSequence || pos >= rest.size() || rest[pos] != ' ') continue;
    rest.remove_prefix(pos + 1);
    const auto end = rest.find_first_of(" \r\n\t");
    // The seed keeps its original case here; hashing lower-cases it.
    const auto seedStart = static_cast<std::size_t>(rest.data() - lower.data());
    const auto seedLength = end == std::string_view::npos ? rest.size() : end;
    if (seedLength == 0) continue;
    challenge.sequence = static_cast<int>(sequence);
    challenge.seed = std::string(text.substr(seedStart, seedLength));
    return challenge;
  }
  return std::nullopt;
}

std::array<std::uint8_t, 8> otpKey(OtpHash hash, int sequence, std::string_view seed,
                                   std::string_view passphrase) {
  const std::string start = lowerCase(seed) + std::string(passphrase);
  auto key = hashFold(hash, {reinterpret_cast<const std::uint8_t*>(start.data()), start.size()});
  for (int i = 0; i < sequence; ++i) key = hashFold(hash, key);
  return key;
}

std::string otpSixWords(const std::array<std::uint8_t, 8>& key) {
  std::uint64_t bits = 0;
  unsigned checksum = 0;
  for (auto byte : key) {
    bits = bits << 8 | byte;
    for (int shift = 0; shift < 8; shift += 2) checksum += (byte >> shift) & 3u;
  }
  std::string out;
  for (int word = 0; word < 6; ++word) {
    // 66 bits: the key and two checksum bits, eleven bits per word.
    const int first = word * 11;
    std::uint64_t index = 0;
    for (int bit = first; bit < first + 11; ++bit) {
      const unsigned value =
          bit < 64 ? static_cast<unsigned>(bits >> (63 - bit)) & 1u : (checksum >> (65 - bit)) & 1u;
      index = index << 1 | value;
    }
    if (!out.empty()) out += ' ';
    out += otpWord(static_cast<std::size_t>(index));
  }
  return out;
}

std::string otpResponse(const OtpChallenge& challenge, std::string_view passphrase) {
  return otpSixWords(otpKey(challenge.hash, challenge.sequence, challenge.seed, passphrase));
}

}  // namespace klipora::net
