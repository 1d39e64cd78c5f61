#pragma once
// Small deterministic bitmaps and byte readers for the file format tests.
#include <algorithm>
#include <cstdint>
#include <span>
#include <vector>

#include "imaging/bitmap.h"

namespace klipora::imaging::testing {

// Every pixel different from its neighbours; indexed depths get a full
// colour table of distinct colours.
inline Bitmap patternBitmap(int width, int height, int depth) {
  Bitmap bitmap(width, height, depth);
  if (depth <= 8) {
    for (int i = 0; i < (1 << depth); ++i) {
      bitmap.palette().push_back({static_cast<std::uint8_t>(i * 37 + 5),
                                  static_cast<std::uint8_t>(255 - i),
                                  static_cast<std::uint8_t>(i * 11), 0});
    }
  }
  const std::size_t used = (static_cast<std::size_t>(width) * depth + 7) / 8;
  for (int y = 0; y < height; ++y) {
    for (std::size_t i = 0; i < used; ++i) {
      bitmap.row(y)[i] = static_cast<std::uint8_t>(i * 29 + static_cast<std::size_t>(y) * 71 + 3);
    }
    // Keep the unused tail bits of the last byte zero, as a DIB has them.
    if (const int tail = static_cast<int>(used * 8) - width * depth; tail > 0 && used > 0) {
      bitmap.row(y)[used - 1] &= static_cast<std::uint8_t>(0xFF << tail);
    }
  }
  return bitmap;
}

inline unsigned le16(std::span<const std::uint8_t> bytes, std::size_t at) {
  return bytes[at] | (bytes[at + 1] << 8);
}
inline std::uint32_t le32(std::span<const std::uint8_t> bytes, std::size_t at) {
  return le16(bytes, at) | (le16(bytes, at + 2) << 16);
}
inline std::uint32_t be32(std::span<const std::uint8_t> bytes, std::size_t at) {
  return (std::uint32_t{bytes[at]} << 24) | (bytes[at + 1] << 16) | (bytes[at + 2] << 8) |
         bytes[at + 3];
}

// The same pixels, compared row by row over the used bytes only.
inline bool samePixels(const Bitmap& a, const Bitmap& b) {
  if (a.width() != b.width() || a.height() != b.height() || a.bitsPerPixel() != b.bitsPerPixel())
    return false;
  const std::size_t used = (static_cast<std::size_t>(a.width()) * a.bitsPerPixel() + 7) / 8;
  for (int y = 0; y < a.height(); ++y) {
    if (!std::equal(a.row(y), a.row(y) + used, b.row(y))) return false;
  }
  return true;
}

}  // namespace klipora::imaging::testing
