#include "imaging/gif/color_reduction.h"

#include <algorithm>
#include <optional>
#include <span>

#include "base/error.h"
#include "imaging/gif/color_lookup.h"
#include "imaging/gif/dib.h"
#include "imaging/gif/dither.h"
#include "imaging/gif/octree.h"
#include "imaging/gif/palettes.h"

namespace klipora::imaging::gif {

namespace {

// The octree colours of the image from entry `first` on, in the
// quantizer's order; the palette has `size` entries, the rest black.
Palette octreePalette(const Bitmap& image, int maxColors, int first, std::size_t size) {
  Palette palette(size);
  TColorQuantizer quantizer(maxColors, 8);
  quantizer.ProcessBitmap(image);
  quantizer.WriteColorTable(std::span<PaletteEntry>(palette).subspan(
      static_cast<std::size_t>(first), static_cast<std::size_t>(maxColors)));
  return palette;
}

Palette octreeWindowsPalette(const Bitmap& image, PlatformPalettes& platform) {
  Palette palette = octreePalette(image, 236, 10, 256);
  const Palette system = platform.stockDefaultPalette();
  for (std::size_t i = 0; i < 10 && i < system.size(); ++i) palette[i] = system[i];
  for (std::size_t i = 10; i < 20 && i < system.size(); ++i) palette[236 + i] = system[i];
  return palette;
}

// The palette of a mode; none for a mode outside the enumeration.
std::optional<Palette> buildPalette(TColorReduction reduction, const Bitmap& image,
                                    int reductionBits, const Palette* customPalette,
                                    PlatformPalettes& platform) {
  switch (reduction) {
    case ReductionWindows20:
      return platform.stockDefaultPalette();
    case ReductionHalftone256:
      return platform.halftonePalette();
    case ReductionGray4:
      return grayPalette4();
    case ReductionMonochrome:
      return monochromePalette();
    case ReductionGray256:
      return grayPalette256();
    case ReductionWeb216:
      return webPalette216();
    case ReductionOctree: {
      if (reductionBits < 0 || reductionBits > 8) throw Error("Invalid reduction bits");
      const int colors = 1 << reductionBits;
      return octreePalette(image, colors, 0, static_cast<std::size_t>(colors));
    }
    case ReductionOctreeWindows:
      return octreeWindowsPalette(image, platform);
    case ReductionCustomPalette: {
      if (!customPalette) return Palette{};
      const std::size_t count = std::min<std::size_t>(customPalette->size(), 256);
      return Palette(customPalette->begin(),
                     customPalette->begin() + static_cast<std::ptrdiff_t>(count));
    }
    default:
      return std::nullopt;
  }
}

// Rows top to bottom; each engine walks its row from its current column in
// its current direction and turns round in EndRow, so every mode maps the
// image in serpentine order.
template <class Engine>
void walkSerpentine(Engine& engine, const TDIBReader& reader, TDIBWriter& writer, int height) {
  for (int y = 0; y < height; ++y) {
    engine.DitherRow(reader.GetRow(y), writer.GetRow(y));
    engine.EndRow();
  }
}

template <class Engine, class Lookup>
void runEngine(Lookup& lookup, const TDIBReader& reader, Bitmap& result, const Palette& palette) {
  const Bitmap& image = reader.bitmap();
  Engine engine(image.width(), lookup);
  TDIBWriter writer(result, palette, image.height(), image.width(), 8);
  walkSerpentine(engine, reader, writer, image.height());
  writer.deliver();
}

template <class Lookup>
void mapPixels(Lookup& lookup, TDitherMode dither, const TDIBReader& reader, Bitmap& result,
               const Palette& palette) {
  if (lookup.colorCount() == 0) return;
  switch (dither) {
    case DitherNearest:
      return runEngine<TDitherEngine<Lookup>>(lookup, reader, result, palette);
    case DitherFloydSteinberg:
      return runEngine<TFloydSteinbergDitherer<Lookup>>(lookup, reader, result, palette);
    case DitherStucki:
      return runEngine<TStuckiDitherer<Lookup>>(lookup, reader, result, palette);
    case DitherSierra:
      return runEngine<TSierraDitherer<Lookup>>(lookup, reader, result, palette);
    case DitherJarvisJudiceNinke:
      return runEngine<TJaJuNiDitherer<Lookup>>(lookup, reader, result, palette);
    case DitherStevensonArce:
      return runEngine<TSteveArcheDitherer<Lookup>>(lookup, reader, result, palette);
    case DitherBurkes:
      return runEngine<TBurkesDitherer<Lookup>>(lookup, reader, result, palette);
    default:
      return;  // unknown dither mode: the result stays empty
  }
}

}  // namespace

GifModes GifModesFromSettings(int colorIndex, int ditherIndex) {
  TColorReduction reduction = ReductionOctreeWindows;
  switch (colorIndex) {
    case 0:
      reduction = ReductionMonochrome;
      break;
    case 1:
      reduction = ReductionWeb216;
      break;
    case 2:
      reduction = ReductionHalftone256;
      break;
    default:
      break;
  }
  return {reduction, static_cast<TDitherMode>(ditherIndex)};
}

Bitmap ReduceBitmapColors(Bitmap& source, TColorReduction reduction, TDitherMode dither,
                          int reductionBits, const Palette* customPalette) {
  return ReduceBitmapColors(source, reduction, dither, reductionBits, customPalette,
                            platformPalettes());
}

Bitmap ReduceBitmapColors(Bitmap& source, TColorReduction reduction, TDitherMode dither,
                          int reductionBits, const Palette* customPalette,
                          PlatformPalettes& platform) {
  Bitmap result;
  if (reduction == ReductionNone) {
    result = source;
    result.convertTo24Bits();
    return result;
  }
  const TDIBReader reader(source);
  const std::optional<Palette> built =
      buildPalette(reduction, reader.bitmap(), reductionBits, customPalette, platform);
  if (!built) return result;
  const Palette& palette = *built;
  switch (reduction) {
    case ReductionMonochrome: {
      TMonochromeLookup lookup;
      mapPixels(lookup, dither, reader, result, palette);
      break;
    }
    case ReductionGray256: {
      TGrayScaleLookup lookup;
      mapPixels(lookup, dither, reader, result, palette);
      break;
    }
    case ReductionWeb216: {
      TNetscapeColorLookup lookup;
      mapPixels(lookup, dither, reader, result, palette);
      break;
    }
    default: {
      TFastColorLookup lookup(palette);
      mapPixels(lookup, dither, reader, result, palette);
      break;
    }
  }
  return result;
}

}  // namespace klipora::imaging::gif
