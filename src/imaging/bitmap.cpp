#include "imaging/bitmap.h"

#include <cstring>
#include <string>
#include <utility>

#include "base/error.h"
#include "imaging/pixel_rows.h"

namespace klipora::imaging {

namespace {

bool supportedDepth(int bits) {
  return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

}  // namespace

std::size_t Bitmap::strideFor(int width, int bitsPerPixel) {
  return (static_cast<std::size_t>(width) * static_cast<std::size_t>(bitsPerPixel) + 31) / 32 * 4;
}

Bitmap::Bitmap(int width, int height, int bitsPerPixel) {
  if (!supportedDepth(bitsPerPixel)) {
    throw Error("Unsupported bitmap depth: " + std::to_string(bitsPerPixel));
  }
  if (width < 0 || height < 0) throw Error("Invalid bitmap size");
  const std::size_t stride = strideFor(width, bitsPerPixel);
  if (height != 0 && stride > kMaxPixelBytes / static_cast<std::size_t>(height)) {
    throw Error("Bitmap too large: " + std::to_string(width) + " x " + std::to_string(height));
  }
  width_ = width;
  height_ = height;
  bitsPerPixel_ = bitsPerPixel;
  stride_ = stride;
  pixels_.assign(stride * static_cast<std::size_t>(height), 0);
}

void Bitmap::convertTo24Bits() {
  if (bitsPerPixel_ == 24 || bitsPerPixel_ == 0) return;
  const std::size_t stride24 = strideFor(width_, 24);
  if (bitsPerPixel_ == 32) {
    // The 24-bit image is never larger, and every pixel lands at or before
    // the place it is read from, so the conversion needs no second buffer.
    std::uint8_t* base = pixels_.data();
    for (int y = 0; y < height_; ++y) {
      const std::uint8_t* src = base + static_cast<std::size_t>(y) * stride_;
      std::uint8_t* dst = base + static_cast<std::size_t>(y) * stride24;
      for (int x = 0; x < width_; ++x) {
        const std::uint8_t b = src[4 * x], g = src[4 * x + 1], r = src[4 * x + 2];
        dst[3 * x] = b;
        dst[3 * x + 1] = g;
        dst[3 * x + 2] = r;
      }
      std::memset(dst + 3 * static_cast<std::size_t>(width_), 0,
                  stride24 - 3 * static_cast<std::size_t>(width_));
    }
    pixels_.resize(stride24 * static_cast<std::size_t>(height_));
  } else {
    std::vector<std::uint8_t> out(stride24 * static_cast<std::size_t>(height_), 0);
    for (int y = 0; y < height_; ++y) {
      readBgr24Row(*this, y, out.data() + static_cast<std::size_t>(y) * stride24);
    }
    pixels_ = std::move(out);
  }
  bitsPerPixel_ = 24;
  stride_ = stride24;
  palette_.clear();
}

}  // namespace klipora::imaging
