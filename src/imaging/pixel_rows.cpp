#include "imaging/pixel_rows.h"

#include <cstring>
#include <utility>

namespace klipora::imaging {
namespace {

void putEntry(const Palette& palette, unsigned index, std::uint8_t* out) {
  if (index < palette.size()) {
    out[0] = palette[index].blue;
    out[1] = palette[index].green;
    out[2] = palette[index].red;
  } else {
    out[0] = out[1] = out[2] = 0;
  }
}

std::uint8_t expand5(unsigned value) {
  return static_cast<std::uint8_t>((value << 3) | (value >> 2));
}

}  // namespace

void readBgr24Row(const Bitmap& bitmap, int y, std::uint8_t* out) {
  const std::uint8_t* in = bitmap.row(y);
  const int width = bitmap.width();
  const Palette& palette = bitmap.palette();
  switch (bitmap.bitsPerPixel()) {
    case 1:
      for (int x = 0; x < width; ++x, out += 3) {
        putEntry(palette, (in[x >> 3] >> (7 - (x & 7))) & 1u, out);
      }
      break;
    case 4:
      for (int x = 0; x < width; ++x, out += 3) {
        putEntry(palette, (x & 1) ? (in[x >> 1] & 0x0Fu) : (in[x >> 1] >> 4), out);
      }
      break;
    case 8:
      for (int x = 0; x < width; ++x, out += 3) putEntry(palette, in[x], out);
      break;
    case 16:
      for (int x = 0; x < width; ++x, out += 3) {
        const unsigned value = in[2 * x] | (in[2 * x + 1] << 8);
        out[0] = expand5(value & 0x1F);
        out[1] = expand5((value >> 5) & 0x1F);
        out[2] = expand5((value >> 10) & 0x1F);
      }
      break;
    case 24:
      std::memcpy(out, in, static_cast<std::size_t>(width) * 3);
      break;
    case 32:
      for (int x = 0; x < width; ++x, out += 3, in += 4) {
        out[0] = in[0];
        out[1] = in[1];
        out[2] = in[2];
      }
      break;
    default:
      std::memset(out, 0, static_cast<std::size_t>(width) * 3);
      break;
  }
}

void readRgb24Row(const Bitmap& bitmap, int y, std::uint8_t* out) {
  // The capture's own depths in one pass: this runs for every row of every
  // RGB file written.
  const int depth = bitmap.bitsPerPixel();
  if (depth == 24 || depth == 32) {
    const std::uint8_t* in = bitmap.row(y);
    const int step = depth / 8;
    for (int x = 0; x < bitmap.width(); ++x, out += 3, in += step) {
      out[0] = in[2];
      out[1] = in[1];
      out[2] = in[0];
    }
    return;
  }
  readBgr24Row(bitmap, y, out);
  for (int x = 0; x < bitmap.width(); ++x, out += 3) std::swap(out[0], out[2]);
}

}  // namespace klipora::imaging
