#pragma once
// The fixed palettes of the colour reduction modes.
#include "imaging/bitmap.h"

namespace klipora::imaging::gif {

// The platform's no-collapse flag, set in the grey and monochrome palettes.
inline constexpr std::uint8_t kNoCollapse = 4;

// 216 entries, index 36*r + 6*g + b with colour (51r, 51g, 51b).
Palette webPalette216();
// Black, white.
Palette monochromePalette();
// 0, 128, 192, 255.
Palette grayPalette4();
// Entry i is (i, i, i).
Palette grayPalette256();

}  // namespace klipora::imaging::gif
