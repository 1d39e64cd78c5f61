#pragma once
// Row access for the colour reduction: a reader that brings a bitmap to 24
// bits and hands out its rows, and a writer that builds the 8-bit (or
// 24-bit) result with its full 256-entry colour table.
#include <cstdint>
#include <optional>

#include "imaging/bitmap.h"

namespace klipora::imaging::gif {

class TDIBReader {
 public:
  // Converts the bitmap in place to 24 bits per pixel (blue, green, red).
  explicit TDIBReader(Bitmap& bitmap);

  const Bitmap& bitmap() const { return bitmap_; }
  // Row y counted from the top; throws on an index outside the image.
  const std::uint8_t* GetRow(int y) const;

 private:
  Bitmap& bitmap_;
};

class TDIBWriter {
 public:
  // bits is 8 or 24. Throws "Unsupported PixelFormat" or "Invalid image
  // dimensions".
  TDIBWriter(Bitmap& target, const Palette& palette, int height, int width, int bits);

  // Row y counted from the top; the pixel block is made on the first call.
  std::uint8_t* GetRow(int y);

  // Hands the finished bitmap to the target. Not done on destruction, so
  // that a failed reduction never delivers a half-written image.
  void deliver();

 private:
  Bitmap& target_;
  const Palette& palette_;
  int height_;
  int width_;
  int bits_;
  std::optional<Bitmap> result_;
};

}  // namespace klipora::imaging::gif
