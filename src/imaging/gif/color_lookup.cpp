#include "imaging/gif/color_lookup.h"

#include <algorithm>

namespace klipora::imaging::gif {

TFastColorLookup::TFastColorLookup(const Palette& palette)
    : TColorLookup(static_cast<int>(std::min<std::size_t>(palette.size(), 256))),
      inverse_(32768, -1) {
  for (int i = 0; i < colorCount_; ++i) {
    const PaletteEntry& e = palette[static_cast<std::size_t>(i)];
    entries_[static_cast<std::size_t>(i)] = {e.red, e.green, e.blue};
    const unsigned cell = (e.blue >> 3) * 1024u + (e.green >> 3) * 32u + (e.red >> 3);
    if (inverse_[cell] < 0) inverse_[cell] = static_cast<std::int16_t>(i);
  }
}

std::int16_t TFastColorLookup::nearest(int red, int green, int blue) const {
  int best = 0;
  int bestDistance = 196608;
  for (int i = 0; i < colorCount_; ++i) {
    const Rgb& e = entries_[static_cast<std::size_t>(i)];
    const int distance =
        std::abs(e.red - red) + std::abs(e.green - green) + std::abs(e.blue - blue);
    if (distance < bestDistance) {
      bestDistance = distance;
      best = i;
    }
  }
  return static_cast<std::int16_t>(best);
}

}  // namespace klipora::imaging::gif
