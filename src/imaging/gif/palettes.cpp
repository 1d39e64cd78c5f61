#include "imaging/gif/palettes.h"

namespace klipora::imaging::gif {

namespace {

PaletteEntry gray(int level) {
  const auto v = static_cast<std::uint8_t>(level);
  return {v, v, v, kNoCollapse};
}

}  // namespace

Palette webPalette216() {
  Palette palette;
  palette.reserve(216);
  for (int r = 0; r < 6; ++r) {
    for (int g = 0; g < 6; ++g) {
      for (int b = 0; b < 6; ++b) {
        palette.push_back({static_cast<std::uint8_t>(51 * r), static_cast<std::uint8_t>(51 * g),
                           static_cast<std::uint8_t>(51 * b), 0});
      }
    }
  }
  return palette;
}

Palette monochromePalette() { return {gray(0), gray(255)}; }

Palette grayPalette4() { return {gray(0), gray(128), gray(192), gray(255)}; }

Palette grayPalette256() {
  Palette palette;
  palette.reserve(256);
  for (int i = 0; i < 256; ++i) palette.push_back(gray(i));
  return palette;
}

}  // namespace klipora::imaging::gif
