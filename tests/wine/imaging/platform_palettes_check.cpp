// Run under Wine: the palettes the Win32 build gets from the system must be
// the ones the portable build carries as data, or the two builds would
// write different GIFs for the same capture.
#include <cstdio>

#include "imaging/gif/platform_palettes.h"

namespace {

using klipora::imaging::Palette;

bool same(const char* name, const Palette& system, const Palette& builtin) {
  bool ok = system.size() == builtin.size();
  if (!ok) std::printf("%s: %zu entries, expected %zu\n", name, system.size(), builtin.size());
  for (std::size_t i = 0; i < system.size() && i < builtin.size(); ++i) {
    const auto& s = system[i];
    const auto& b = builtin[i];
    if (s.red != b.red || s.green != b.green || s.blue != b.blue) {
      std::printf("%s[%zu]: %d,%d,%d expected %d,%d,%d\n", name, i, s.red, s.green, s.blue, b.red,
                  b.green, b.blue);
      ok = false;
    }
  }
  return ok;
}

}  // namespace

int main() {
  using namespace klipora::imaging::gif;
  try {
    PlatformPalettes& platform = platformPalettes();
    const bool stock =
        same("stock default", platform.stockDefaultPalette(), builtinStockDefaultPalette());
    const bool halftone = same("halftone", platform.halftonePalette(), builtinHalftonePalette());
    std::printf("%s\n", stock && halftone ? "palettes match" : "palettes differ");
    return stock && halftone ? 0 : 1;
  } catch (const std::exception& e) {
    std::printf("error: %s\n", e.what());
    return 2;
  }
}
