#pragma once
// An in-memory bitmap laid out like a Windows DIB section: rows addressable
// top-down, each padded to a multiple of 4 bytes, 24-bit pixels in the order
// blue, green, red; indexed depths (1, 4, 8) carry a colour table.
// 16-bit pixels are little-endian 5-5-5 (bit 15 unused), 32-bit pixels are
// blue, green, red and an unused byte.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace klipora::imaging {

struct PaletteEntry {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  std::uint8_t flags = 0;
  bool operator==(const PaletteEntry&) const = default;
};

using Palette = std::vector<PaletteEntry>;

class Bitmap {
 public:
  // Pixel memory is capped so that a corrupt or hostile size fails cleanly
  // instead of exhausting memory.
  static constexpr std::size_t kMaxPixelBytes = std::size_t{1} << 30;

  Bitmap() = default;
  // Pixels start zeroed. Depth is one of 1, 4, 8, 16, 24, 32; a width or
  // height of 0 gives an empty bitmap. Throws klipora::Error on a negative
  // size, another depth or more than kMaxPixelBytes of pixels.
  Bitmap(int width, int height, int bitsPerPixel);

  int width() const { return width_; }
  int height() const { return height_; }
  int bitsPerPixel() const { return bitsPerPixel_; }
  bool empty() const { return width_ == 0 || height_ == 0; }
  std::size_t stride() const { return stride_; }

  std::uint8_t* row(int y) { return pixels_.data() + static_cast<std::size_t>(y) * stride_; }
  const std::uint8_t* row(int y) const {
    return pixels_.data() + static_cast<std::size_t>(y) * stride_;
  }

  Palette& palette() { return palette_; }
  const Palette& palette() const { return palette_; }

  // Bytes per row for a width and depth, padded to 4 bytes.
  static std::size_t strideFor(int width, int bitsPerPixel);

  // Converts the pixels to 24 bits per pixel in place (the colour table is
  // dropped). A 24-bit bitmap is left as it is.
  void convertTo24Bits();

 private:
  int width_ = 0;
  int height_ = 0;
  int bitsPerPixel_ = 0;
  std::size_t stride_ = 0;
  std::vector<std::uint8_t> pixels_;
  Palette palette_;
};

}  // namespace klipora::imaging
