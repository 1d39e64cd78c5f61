#pragma once
// Small images for the colour reduction tests.
#include <cstdint>
#include <functional>
#include <vector>

#include "imaging/bitmap.h"
#include "imaging/gif/color_lookup.h"

namespace klipora::imaging::testing {

// A 24-bit image whose pixel (x, y) is colorAt(x, y).
inline Bitmap makeImage(int width, int height, const std::function<gif::Rgb(int, int)>& colorAt) {
  Bitmap image(width, height, 24);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const gif::Rgb c = colorAt(x, y);
      std::uint8_t* p = image.row(y) + 3 * x;
      p[0] = c.blue;
      p[1] = c.green;
      p[2] = c.red;
    }
  }
  return image;
}

inline gif::Rgb grey(int v) {
  const auto g = static_cast<std::uint8_t>(v);
  return {g, g, g};
}

// The index rows of an 8-bit bitmap.
inline std::vector<std::vector<int>> indexRows(const Bitmap& bitmap) {
  std::vector<std::vector<int>> rows;
  for (int y = 0; y < bitmap.height(); ++y) {
    rows.emplace_back(bitmap.row(y), bitmap.row(y) + bitmap.width());
  }
  return rows;
}

// A deterministic pseudo-random byte sequence.
class ByteNoise {
 public:
  explicit ByteNoise(std::uint32_t seed) : state_(seed) {}
  std::uint8_t next() {
    state_ = state_ * 1664525u + 1013904223u;
    return static_cast<std::uint8_t>(state_ >> 24);
  }

 private:
  std::uint32_t state_;
};

}  // namespace klipora::imaging::testing
