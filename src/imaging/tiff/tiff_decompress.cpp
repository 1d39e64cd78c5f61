#include "imaging/tiff/tiff_decompress.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "base/error.h"

namespace klipora::imaging::tiff {
namespace {

constexpr unsigned kClear = 256;
constexpr unsigned kEnd = 257;
constexpr unsigned kFirstFree = 258;
constexpr unsigned kTableSize = 4096;

class BitReader {
 public:
  explicit BitReader(std::span<const std::uint8_t> in) : in_(in) {}
  // False when fewer than `width` bits are left.
  bool read(unsigned width, unsigned& code) {
    while (count_ < width) {
      if (at_ == in_.size()) return false;
      buffer_ = (buffer_ << 8) | in_[at_++];
      count_ += 8;
    }
    count_ -= width;
    code = (buffer_ >> count_) & ((1u << width) - 1);
    return true;
  }

 private:
  std::span<const std::uint8_t> in_;
  std::size_t at_ = 0;
  std::uint32_t buffer_ = 0;
  unsigned count_ = 0;
};

struct Table {
  std::array<std::uint16_t, kTableSize> prefix{};
  std::array<std::uint8_t, kTableSize> suffix{};
  std::array<std::uint16_t, kTableSize> length{};
  std::array<std::uint8_t, kTableSize> first{};

  Table() {
    for (unsigned i = 0; i < 256; ++i) {
      suffix[i] = first[i] = static_cast<std::uint8_t>(i);
      length[i] = 1;
    }
  }
};

}  // namespace

std::size_t decodeLzw(std::span<const std::uint8_t> in, std::span<std::uint8_t> out) {
  Table table;
  BitReader bits(in);
  std::size_t produced = 0;
  unsigned next = kFirstFree;
  unsigned width = 9;
  int previous = -1;
  unsigned code = 0;

  // Writes the string of `code`, cut off at the end of `out`.
  const auto emit = [&](unsigned entry) {
    const std::size_t length = table.length[entry];
    const std::size_t room = out.size() - produced;
    std::size_t at = length;
    while (at > 0) {
      --at;
      if (at < room) out[produced + at] = table.suffix[entry];
      entry = table.prefix[entry];
    }
    produced += std::min(length, room);
  };

  while (produced < out.size() && bits.read(width, code)) {
    if (code == kClear) {
      next = kFirstFree;
      width = 9;
      previous = -1;
      continue;
    }
    if (code == kEnd) break;
    if (previous < 0) {
      if (code >= 256) throw Error("TIF LZW: invalid opcode.");
      emit(code);
      previous = static_cast<int>(code);
      continue;
    }
    if (code > next || (code == next && next >= kTableSize)) {
      throw Error("TIF LZW: invalid opcode.");
    }
    const auto prev = static_cast<unsigned>(previous);
    const std::uint8_t head = code < next ? table.first[code] : table.first[prev];
    if (next < kTableSize) {
      table.prefix[next] = static_cast<std::uint16_t>(prev);
      table.suffix[next] = head;
      table.first[next] = table.first[prev];
      table.length[next] = static_cast<std::uint16_t>(table.length[prev] + 1);
      ++next;
      // The width grows one code before the table needs it.
      if (next + 1 >= (1u << width) && width < 12) ++width;
    }
    emit(code);
    previous = static_cast<int>(code);
  }
  return produced;
}

std::size_t decodePackBits(std::span<const std::uint8_t> in, std::span<std::uint8_t> out) {
  std::size_t at = 0;
  std::size_t produced = 0;
  while (at < in.size() && produced < out.size()) {
    const int n = static_cast<std::int8_t>(in[at++]);
    if (n >= 0) {
      const std::size_t count =
          std::min({static_cast<std::size_t>(n) + 1, in.size() - at, out.size() - produced});
      std::memcpy(out.data() + produced, in.data() + at, count);
      at += static_cast<std::size_t>(n) + 1;
      produced += count;
    } else if (n != -128) {
      if (at == in.size()) break;
      const std::size_t count = std::min(static_cast<std::size_t>(1 - n), out.size() - produced);
      std::memset(out.data() + produced, in[at++], count);
      produced += count;
    }
  }
  return produced;
}

}  // namespace klipora::imaging::tiff
