#pragma once
// The two palettes that belong to the platform rather than to Klipora: the
// 20-colour stock default palette and the 256-colour halftone palette of the
// screen. The Win32 build asks the system; the portable build carries the
// same values as data, so that both builds reduce an image to the same bytes.
#include "imaging/bitmap.h"

namespace klipora::imaging::gif {

class PlatformPalettes {
 public:
  virtual ~PlatformPalettes() = default;
  virtual Palette stockDefaultPalette() = 0;
  // Throws klipora::Error when the platform cannot provide it.
  virtual Palette halftonePalette() = 0;
};

// The provider of this build.
PlatformPalettes& platformPalettes();

// The values the portable build uses (also what the Win32 build is checked
// against).
Palette builtinStockDefaultPalette();
Palette builtinHalftonePalette();

}  // namespace klipora::imaging::gif
