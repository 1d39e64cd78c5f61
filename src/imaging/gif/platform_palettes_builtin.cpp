#include "imaging/gif/platform_palettes.h"

namespace klipora::imaging::gif {

namespace {

class BuiltinPalettes final : public PlatformPalettes {
 public:
  Palette stockDefaultPalette() override { return builtinStockDefaultPalette(); }
  Palette halftonePalette() override { return builtinHalftonePalette(); }
};

}  // namespace

PlatformPalettes& platformPalettes() {
  static BuiltinPalettes palettes;
  return palettes;
}

}  // namespace klipora::imaging::gif
