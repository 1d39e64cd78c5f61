#pragma once
// JPEG output through libjpeg: the library's defaults, the given quality
// with baseline tables, 8-bit RGB rows from the top.
#include "imaging/bitmap.h"
#include "imaging/output_stream.h"

namespace klipora::imaging {

// quality is 1..100; values outside are clamped.
void writeJpeg(const Bitmap& bitmap, int quality, OutputStream& out);

}  // namespace klipora::imaging
