#pragma once
// Reading any bitmap depth as 24-bit rows, for the encoders that take RGB.
#include <cstdint>

#include "imaging/bitmap.h"

namespace klipora::imaging {

// Writes width() pixels of row y as blue, green, red into out (3 bytes a
// pixel). Indexed depths go through the colour table (indexes beyond it give
// black), 16 bits are 5-5-5, 32 bits are blue, green, red and an unused byte.
void readBgr24Row(const Bitmap& bitmap, int y, std::uint8_t* out);

// Same as readBgr24Row with the bytes of each pixel in the order red, green, blue.
void readRgb24Row(const Bitmap& bitmap, int y, std::uint8_t* out);

}  // namespace klipora::imaging
