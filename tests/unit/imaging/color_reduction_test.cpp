#include "imaging/gif/color_reduction.h"

#include <gtest/gtest.h>

#include "base/error.h"
#include "imaging/gif/gif_exception.h"
#include "reduce_test_images.h"

namespace klipora::imaging::gif {
namespace {

using testing::grey;
using testing::makeImage;

TEST(GifModes, FromSettings) {
  struct Case {
    int color, dither;
    GifModes expected;
  };
  const Case cases[] = {
      {0, 0, {ReductionMonochrome, DitherNearest}},
      {1, 2, {ReductionWeb216, DitherStucki}},
      {2, 1, {ReductionHalftone256, DitherFloydSteinberg}},
      {3, 0, {ReductionOctreeWindows, DitherNearest}},
      {3, 6, {ReductionOctreeWindows, DitherBurkes}},
      {7, 5, {ReductionOctreeWindows, DitherStevensonArce}},
      {-1, 4, {ReductionOctreeWindows, DitherJarvisJudiceNinke}},
      {1, 9, {ReductionWeb216, static_cast<TDitherMode>(9)}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(GifModesFromSettings(c.color, c.dither), c.expected) << c.color << "/" << c.dither;
  }
}

Bitmap threeColours() {
  return makeImage(5, 3, [](int x, int y) {
    const Rgb colours[] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
    return colours[(x + y) % 3];
  });
}

TEST(ReduceBitmapColors, ResultIsEightBitWithAFullColourTable) {
  Bitmap source(4, 2, 32);
  source.row(1)[4 * 3 + 2] = 200;  // a red-ish pixel at (3, 1)
  const Bitmap result = ReduceBitmapColors(source, ReductionMonochrome, DitherNearest);
  EXPECT_EQ(source.bitsPerPixel(), 24);  // the source is converted on the way
  ASSERT_EQ(result.bitsPerPixel(), 8);
  EXPECT_EQ(result.width(), 4);
  EXPECT_EQ(result.height(), 2);
  Palette expected(256);
  expected[1] = {255, 255, 255, 0};
  EXPECT_EQ(result.palette(), expected);
}

TEST(ReduceBitmapColors, OctreeWindowsPaletteLayout) {
  Bitmap source = threeColours();
  const Bitmap result = ReduceBitmapColors(source, ReductionOctreeWindows, DitherNearest);
  const Palette system = builtinStockDefaultPalette();
  ASSERT_EQ(system.size(), 20u);
  Palette expected(256);
  std::copy(system.begin(), system.begin() + 10, expected.begin());
  expected[10] = {0, 0, 255, 0};
  expected[11] = {0, 255, 0, 0};
  expected[12] = {255, 0, 0, 0};
  std::copy(system.begin() + 10, system.end(), expected.begin() + 246);
  EXPECT_EQ(result.palette(), expected);
  // Pure red, green and blue are also system colours 13 to 16 ... but entries
  // 0 to 9 come first; the lookup takes the first entry that owns the cell.
  EXPECT_EQ(result.row(0)[0], 12);
  EXPECT_EQ(result.row(0)[1], 11);
  EXPECT_EQ(result.row(0)[2], 10);
}

TEST(ReduceBitmapColors, OctreeWithReductionBits) {
  Bitmap source = makeImage(16, 16, [](int x, int y) { return grey(x * 16 + y); });
  const Bitmap result = ReduceBitmapColors(source, ReductionOctree, DitherNearest, 2);
  ASSERT_EQ(result.palette().size(), 256u);
  for (std::size_t i = 4; i < 256; ++i) EXPECT_EQ(result.palette()[i], PaletteEntry{});
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 16; ++x) EXPECT_LT(result.row(y)[x], 4);
  }
  EXPECT_THROW(ReduceBitmapColors(source, ReductionOctree, DitherNearest, 9), Error);
}

TEST(ReduceBitmapColors, HalftonePaletteIsFixed) {
  Bitmap a = threeColours();
  Bitmap b = makeImage(3, 3, [](int x, int) { return grey(x * 100); });
  Palette expected = builtinHalftonePalette();
  expected.resize(256);
  EXPECT_EQ(ReduceBitmapColors(a, ReductionHalftone256, DitherNearest).palette(), expected);
  EXPECT_EQ(ReduceBitmapColors(b, ReductionHalftone256, DitherSierra).palette(), expected);
}

TEST(ReduceBitmapColors, NoneGivesA24BitCopyAndLeavesTheSource) {
  Bitmap source(3, 2, 32);
  source.row(1)[4 * 2] = 9;  // blue of (2, 1)
  const Bitmap copy = ReduceBitmapColors(source, ReductionNone, DitherNearest);
  EXPECT_EQ(source.bitsPerPixel(), 32);
  ASSERT_EQ(copy.bitsPerPixel(), 24);
  EXPECT_EQ(copy.row(1)[3 * 2], 9);
}

TEST(ReduceBitmapColors, UnknownModesAndEmptyPalettesGiveAnEmptyBitmap) {
  const Palette none;
  struct Case {
    TColorReduction reduction;
    TDitherMode dither;
    const Palette* custom;
  };
  for (const Case& c : {Case{static_cast<TColorReduction>(10), DitherNearest, nullptr},
                        Case{static_cast<TColorReduction>(-1), DitherNearest, nullptr},
                        Case{ReductionWeb216, static_cast<TDitherMode>(7), nullptr},
                        Case{ReductionGray4, static_cast<TDitherMode>(-1), nullptr},
                        Case{ReductionCustomPalette, DitherNearest, &none},
                        Case{ReductionCustomPalette, DitherNearest, nullptr}}) {
    Bitmap source = threeColours();
    EXPECT_TRUE(ReduceBitmapColors(source, c.reduction, c.dither, 0, c.custom).empty())
        << c.reduction << "/" << c.dither;
  }
}

TEST(ReduceBitmapColors, EmptySourceIsAnError) {
  for (TColorReduction reduction :
       {ReductionWeb216, ReductionMonochrome, ReductionOctreeWindows, ReductionHalftone256}) {
    Bitmap source(0, 7, 24);
    try {
      ReduceBitmapColors(source, reduction, DitherFloydSteinberg);
      ADD_FAILURE() << "no error for mode " << reduction;
    } catch (const GIFException& e) {
      EXPECT_STREQ(e.what(), "Invalid image dimensions");
    }
  }
  Bitmap source(0, 0, 24);
  EXPECT_TRUE(ReduceBitmapColors(source, ReductionNone, DitherNearest).empty());
}

}  // namespace
}  // namespace klipora::imaging::gif
