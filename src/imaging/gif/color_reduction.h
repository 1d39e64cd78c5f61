#pragma once
// Colour reduction: turns any bitmap into an 8-bit palette bitmap (or a
// 24-bit copy for ReductionNone) ready to become a GIF frame.
#include "imaging/bitmap.h"
#include "imaging/gif/platform_palettes.h"
#include "imaging/gif/reduction_modes.h"

namespace klipora::imaging::gif {

struct GifModes {
  TColorReduction reduction;
  TDitherMode dither;
  bool operator==(const GifModes&) const = default;
};

// The stored GIF settings (item indexes of the two option lists) as modes.
GifModes GifModesFromSettings(int colorIndex, int ditherIndex);

// Returns a new bitmap: for ReductionNone a 24-bit copy, otherwise an 8-bit
// bitmap of the source's size with a 256-entry colour table. The source is
// converted to 24 bits in place. reductionBits (0 to 8) is used only by
// ReductionOctree, customPalette only by ReductionCustomPalette. A mode out
// of range, or a palette without entries, gives an empty bitmap. Throws
// klipora::Error on failure.
Bitmap ReduceBitmapColors(Bitmap& source, TColorReduction reduction, TDitherMode dither,
                          int reductionBits = 0, const Palette* customPalette = nullptr);
Bitmap ReduceBitmapColors(Bitmap& source, TColorReduction reduction, TDitherMode dither,
                          int reductionBits, const Palette* customPalette,
                          PlatformPalettes& platform);

}  // namespace klipora::imaging::gif
