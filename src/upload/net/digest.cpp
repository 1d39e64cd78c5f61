#include "upload/net/digest.h"

#include <bit>
#include <vector>

namespace klipora::net {
namespace {

// Pads to whole 64-byte blocks with the message length in bits, little- or
// big-endian as the digest wants it.
std::vector<std::uint8_t> pad(std::span<const std::uint8_t> data, bool bigEndian) {
  std::vector<std::uint8_t> out(data.begin(), data.end());
  const std::uint64_t bits = static_cast<std::uint64_t>(data.size()) * 8;
  out.push_back(0x80);
  while (out.size() % 64 != 56) out.push_back(0);
  for (int i = 0; i < 8; ++i) {
    const int shift = bigEndian ? (7 - i) * 8 : i * 8;
    out.push_back(static_cast<std::uint8_t>(bits >> shift));
  }
  return out;
}

std::uint32_t loadLittle(const std::uint8_t* p) {
  return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 |
         std::uint32_t{p[3]} << 24;
}

std::uint32_t loadBig(const std::uint8_t* p) {
  return std::uint32_t{p[0]} << 24 | std::uint32_t{p[1]} << 16 | std::uint32_t{p[2]} << 8 |
         std::uint32_t{p[3]};
}

template <std::size_t N>
std::array<std::uint8_t, N * 4> storeWords(const std::array<std::uint32_t, N>& words,
                                           bool bigEndian) {
  std::array<std::uint8_t, N * 4> out{};
  for (std::size_t i = 0; i < N; ++i) {
    for (std::size_t b = 0; b < 4; ++b) {
      const auto shift = bigEndian ? (3 - b) * 8 : b * 8;
      out[i * 4 + b] = static_cast<std::uint8_t>(words[i] >> shift);
    }
  }
  return out;
}

constexpr std::array<std::uint32_t, 4> kMdInit = {0x67452301, 0xefcdab89, 0x98badcfe, 0x10325476};

}  // namespace

std::array<std::uint8_t, 16> md4Digest(std::span<const std::uint8_t> data) {
  const auto message = pad(data, false);
  auto state = kMdInit;
  static constexpr int kShift1[4] = {3, 7, 11, 19};
  static constexpr int kShift2[4] = {3, 5, 9, 13};
  static constexpr int kShift3[4] = {3, 9, 11, 15};
  static constexpr int kOrder3[16] = {0, 8, 4, 12, 2, 10, 6, 14, 1, 9, 5, 13, 3, 11, 7, 15};
  for (std::size_t block = 0; block < message.size(); block += 64) {
    std::uint32_t x[16];
    for (int i = 0; i < 16; ++i) x[i] = loadLittle(&message[block + i * 4]);
    auto [a, b, c, d] = state;
    for (int i = 0; i < 16; ++i) {
      const std::uint32_t f = (b & c) | (~b & d);
      const std::uint32_t t = std::rotl(a + f + x[i], kShift1[i % 4]);
      a = d, d = c, c = b, b = t;
    }
    for (int i = 0; i < 16; ++i) {
      const std::uint32_t g = (b & c) | (b & d) | (c & d);
      const int k = (i % 4) * 4 + i / 4;
      const std::uint32_t t = std::rotl(a + g + x[k] + 0x5a827999u, kShift2[i % 4]);
      a = d, d = c, c = b, b = t;
    }
    for (int i = 0; i < 16; ++i) {
      const std::uint32_t h = b ^ c ^ d;
      const std::uint32_t t = std::rotl(a + h + x[kOrder3[i]] + 0x6ed9eba1u, kShift3[i % 4]);
      a = d, d = c, c = b, b = t;
    }
    state[0] += a, state[1] += b, state[2] += c, state[3] += d;
  }
  return storeWords(state, false);
}

std::array<std::uint8_t, 16> md5Digest(std::span<const std::uint8_t> data) {
  static const auto kSines = [] {
    std::array<std::uint32_t, 64> table{};
    for (int i = 0; i < 64; ++i) {
      // floor(abs(sin(i + 1)) * 2^32), computed once.
      table[static_cast<std::size_t>(i)] = static_cast<std::uint32_t>(
          static_cast<std::uint64_t>(__builtin_fabs(__builtin_sin(i + 1.0)) * 4294967296.0));
    }
    return table;
  }();
  static constexpr int kShifts[4][4] = {
      {7, 12, 17, 22}, {5, 9, 14, 20}, {4, 11, 16, 23}, {6, 10, 15, 21}};
  const auto message = pad(data, false);
  auto state = kMdInit;
  for (std::size_t block = 0; block < message.size(); block += 64) {
    std::uint32_t x[16];
    for (int i = 0; i < 16; ++i) x[i] = loadLittle(&message[block + i * 4]);
    auto [a, b, c, d] = state;
    for (int i = 0; i < 64; ++i) {
      const int round = i / 16;
      std::uint32_t f = 0;
      int k = 0;
      switch (round) {
        case 0:
          f = (b & c) | (~b & d);
          k = i;
          break;
        case 1:
          f = (d & b) | (~d & c);
          k = (5 * i + 1) % 16;
          break;
        case 2:
          f = b ^ c ^ d;
          k = (3 * i + 5) % 16;
          break;
        default:
          f = c ^ (b | ~d);
          k = (7 * i) % 16;
          break;
      }
      const std::uint32_t t = d;
      d = c;
      c = b;
      b = b + std::rotl(a + f + kSines[static_cast<std::size_t>(i)] + x[k], kShifts[round][i % 4]);
      a = t;
    }
    state[0] += a, state[1] += b, state[2] += c, state[3] += d;
  }
  return storeWords(state, false);
}

std::array<std::uint8_t, 20> sha1Digest(std::span<const std::uint8_t> data) {
  const auto message = pad(data, true);
  std::array<std::uint32_t, 5> state = {0x67452301, 0xefcdab89, 0x98badcfe, 0x10325476, 0xc3d2e1f0};
  for (std::size_t block = 0; block < message.size(); block += 64) {
    std::uint32_t w[80];
    for (int i = 0; i < 16; ++i) w[i] = loadBig(&message[block + i * 4]);
    for (int i = 16; i < 80; ++i) w[i] = std::rotl(w[i - 3] ^ w[i - 8] ^ w[i - 14] ^ w[i - 16], 1);
    auto [a, b, c, d, e] = state;
    for (int i = 0; i < 80; ++i) {
      std::uint32_t f = 0;
      std::uint32_t k = 0;
      if (i < 20) {
        f = (b & c) | (~b & d), k = 0x5a827999;
      } else if (i < 40) {
        f = b ^ c ^ d, k = 0x6ed9eba1;
      } else if (i < 60) {
        f = (b & c) | (b & d) | (c & d), k = 0x8f1bbcdc;
      } else {
        f = b ^ c ^ d, k = 0xca62c1d6;
      }
      const std::uint32_t t = std::rotl(a, 5) + f + e + k + w[i];
      e = d, d = c, c = std::rotl(b, 30), b = a, a = t;
    }
    state[0] += a, state[1] += b, state[2] += c, state[3] += d, state[4] += e;
  }
  return storeWords(state, true);
}

}  // namespace klipora::net
