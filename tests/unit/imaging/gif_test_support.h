#pragma once
// Small builders shared by the GIF tests.
#include <cstdint>
#include <random>
#include <vector>

#include "imaging/bitmap.h"

namespace klipora::imaging::gif::testing {

// An 8-bit bitmap with `colors` palette entries (entry i = (i, 255 - i, i / 2))
// and the given indexes in row-major order.
inline Bitmap indexedBitmap(int width, int height, int colors,
                            const std::vector<std::uint8_t>& indexes) {
  Bitmap bitmap(width, height, 8);
  for (int i = 0; i < colors; ++i) {
    bitmap.palette().push_back({static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(255 - i),
                                static_cast<std::uint8_t>(i / 2), 0});
  }
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x)
      bitmap.row(y)[x] = indexes[static_cast<std::size_t>(y * width + x)];
  }
  return bitmap;
}

inline std::vector<std::uint8_t> randomIndexes(std::size_t count, int colors, unsigned seed) {
  std::mt19937 random(seed);
  std::vector<std::uint8_t> indexes(count);
  for (auto& index : indexes)
    index = static_cast<std::uint8_t>(random() % static_cast<unsigned>(colors));
  return indexes;
}

}  // namespace klipora::imaging::gif::testing
