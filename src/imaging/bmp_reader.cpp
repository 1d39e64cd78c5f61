#include <bit>
#include <cstring>

#include "base/error.h"
#include "imaging/bmp_file.h"

namespace klipora::imaging {
namespace {

constexpr const char* kCorrupt = "BMP: Corrupt file";
constexpr const char* kUnsupported = "BMP: Unsupported format";

class Reader {
 public:
  explicit Reader(std::span<const std::uint8_t> data) : data_(data) {}
  void need(std::uint64_t at, std::uint64_t length) const {
    if (at > data_.size() || length > data_.size() - at) throw Error(kCorrupt);
  }
  std::uint32_t u16(std::uint64_t at) const {
    need(at, 2);
    return data_[at] | (data_[at + 1] << 8);
  }
  std::uint32_t u32(std::uint64_t at) const { return u16(at) | (u16(at + 2) << 16); }
  const std::uint8_t* at(std::uint64_t offset) const { return data_.data() + offset; }

 private:
  std::span<const std::uint8_t> data_;
};

struct Masks {
  std::uint32_t red = 0;
  std::uint32_t green = 0;
  std::uint32_t blue = 0;
};

// One channel of a bit-field pixel scaled to 8 bits.
std::uint8_t channel(std::uint32_t pixel, std::uint32_t mask) {
  if (mask == 0) return 0;
  const int shift = std::countr_zero(mask);
  const int width = std::popcount(mask);
  const std::uint32_t value = (pixel & mask) >> shift;
  if (width >= 8) return static_cast<std::uint8_t>(value >> (width - 8));
  const std::uint32_t max = (1u << width) - 1;
  return static_cast<std::uint8_t>((value * 255 + max / 2) / max);
}

bool contiguous(std::uint32_t mask) {
  return mask == 0 || std::has_single_bit((mask >> std::countr_zero(mask)) + 1);
}

}  // namespace

Bitmap readBmp(std::span<const std::uint8_t> data) {
  const Reader in(data);
  if (data.size() < 14 + 4 || data[0] != 'B' || data[1] != 'M')
    throw Error("BMP: Not a bitmap file");
  const std::uint32_t dataOffset = in.u32(10);
  const std::uint32_t headerSize = in.u32(14);
  if (headerSize < 40) throw Error(kUnsupported);
  in.need(14, headerSize);
  const auto width = static_cast<std::int32_t>(in.u32(18));
  const auto rawHeight = static_cast<std::int32_t>(in.u32(22));
  const int bits = static_cast<int>(in.u16(28));
  const std::uint32_t compression = in.u32(30);
  const std::uint32_t coloursUsed = in.u32(46);
  if (width <= 0 || rawHeight == 0 || rawHeight == INT32_MIN) throw Error(kCorrupt);
  const bool topDown = rawHeight < 0;
  const int height = topDown ? -rawHeight : rawHeight;

  Masks masks;
  bool standard = true;
  std::uint64_t tableAt = 14 + std::uint64_t{headerSize};
  if (compression == 3 && (bits == 16 || bits == 32)) {
    const std::uint64_t maskAt = headerSize >= 52 ? 54 : tableAt;
    if (headerSize < 52) tableAt += 12;
    masks = {in.u32(maskAt), in.u32(maskAt + 4), in.u32(maskAt + 8)};
    if (!contiguous(masks.red) || !contiguous(masks.green) || !contiguous(masks.blue))
      throw Error(kCorrupt);
    standard = bits == 16 ? (masks.red == 0x7C00 && masks.green == 0x03E0 && masks.blue == 0x001F)
                          : (masks.red == 0xFF0000 && masks.green == 0xFF00 && masks.blue == 0xFF);
  } else if (compression != 0) {
    throw Error(kUnsupported);
  }
  if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
    throw Error(kUnsupported);

  const std::size_t stride = Bitmap::strideFor(width, bits);
  in.need(dataOffset, std::uint64_t{stride} * static_cast<std::uint64_t>(height));
  Bitmap bitmap(width, height, standard ? bits : 24);

  if (bits <= 8) {
    const std::uint32_t full = 1u << bits;
    const std::uint32_t count = coloursUsed == 0 || coloursUsed > full ? full : coloursUsed;
    in.need(tableAt, 4ull * count);
    bitmap.palette().resize(count);
    for (std::uint32_t i = 0; i < count; ++i) {
      const std::uint8_t* quad = in.at(tableAt + 4ull * i);
      bitmap.palette()[i] = {quad[2], quad[1], quad[0], 0};
    }
  }

  const std::size_t used = (static_cast<std::size_t>(width) * bits + 7) / 8;
  for (int y = 0; y < height; ++y) {
    const std::uint8_t* src =
        in.at(dataOffset + std::uint64_t{stride} * static_cast<std::uint64_t>(y));
    std::uint8_t* dst = bitmap.row(topDown ? y : height - 1 - y);
    if (standard) {
      std::memcpy(dst, src, used);
      continue;
    }
    for (int x = 0; x < width; ++x, dst += 3) {
      const std::uint32_t pixel = bits == 16 ? src[2 * x] | (src[2 * x + 1] << 8)
                                             : src[4 * x] | (src[4 * x + 1] << 8) |
                                                   (src[4 * x + 2] << 16) |
                                                   (std::uint32_t{src[4 * x + 3]} << 24);
      dst[0] = channel(pixel, masks.blue);
      dst[1] = channel(pixel, masks.green);
      dst[2] = channel(pixel, masks.red);
    }
  }
  return bitmap;
}

}  // namespace klipora::imaging
