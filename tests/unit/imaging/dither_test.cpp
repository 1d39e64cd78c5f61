#include "imaging/gif/dither.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "imaging/gif/color_reduction.h"
#include "imaging/gif/palettes.h"
#include "reduce_test_images.h"

namespace klipora::imaging::gif {
namespace {

using testing::ByteNoise;
using testing::grey;
using testing::indexRows;
using testing::makeImage;

constexpr TDitherMode kDiffusers[] = {DitherFloydSteinberg,    DitherStucki,        DitherSierra,
                                      DitherJarvisJudiceNinke, DitherStevensonArce, DitherBurkes};

std::vector<std::vector<int>> reduce(Bitmap image, TColorReduction reduction, TDitherMode dither,
                                     const Palette* custom = nullptr) {
  return indexRows(ReduceBitmapColors(image, reduction, dither, 0, custom));
}

TEST(Dither, OneRowOfGrey100PerKernel) {
  // Worked by hand: each kernel's weights ahead in the row, its divisor and
  // its rounding (truncating toward zero for negative errors) decide.
  struct Case {
    TDitherMode mode;
    std::vector<int> expected;
  };
  const Case cases[] = {
      {DitherNearest, {0, 0, 0}},
      {DitherFloydSteinberg, {0, 1, 0}},
      {DitherStucki, {0, 0, 1}},
      {DitherSierra, {0, 0, 1}},
      {DitherJarvisJudiceNinke, {0, 0, 0}},
      {DitherStevensonArce, {0, 0, 0}},
      {DitherBurkes, {0, 0, 1}},
  };
  for (const Case& c : cases) {
    const auto rows =
        reduce(makeImage(3, 1, [](int, int) { return grey(100); }), ReductionMonochrome, c.mode);
    EXPECT_EQ(rows[0], c.expected) << "mode " << c.mode;
  }
}

TEST(Dither, HalfGreyOnBlackAndWhite) {
  const auto image = [] { return makeImage(64, 64, [](int, int) { return grey(128); }); };
  for (const auto& row : reduce(image(), ReductionMonochrome, DitherNearest)) {
    EXPECT_TRUE(std::all_of(row.begin(), row.end(), [](int i) { return i == 1; }));
  }
  const auto rows = reduce(image(), ReductionMonochrome, DitherFloydSteinberg);
  int white = 0;
  for (const auto& row : rows) white += static_cast<int>(std::count(row.begin(), row.end(), 1));
  EXPECT_EQ(rows[0][0], 1);
  EXPECT_NEAR(white, 64 * 64 / 2, 64 * 64 / 20);
}

TEST(Dither, FloydSteinbergMatchesTheSingleRowFormulation) {
  // An independent model of the engine: one error row per channel with a
  // carry and two below terms, serpentine, web palette.
  const int width = 17, height = 9;
  Bitmap source = makeImage(width, height, [noise = ByteNoise(11)](int, int) mutable {
    return Rgb{noise.next(), noise.next(), noise.next()};
  });
  std::vector<std::vector<int>> expected(height, std::vector<int>(width));
  std::vector<int> row[3];
  for (auto& r : row) r.assign(width + 2, 0);
  int dir = 1;
  for (int y = 0; y < height; ++y) {
    int carry[3] = {}, below[3] = {}, belowPrev[3] = {};
    int p = dir > 0 ? 0 : width + 1;
    for (int x = dir > 0 ? 0 : width - 1; x >= 0 && x < width; x += dir) {
      const std::uint8_t* px = source.row(y) + 3 * x;
      const int in[3] = {px[2], px[1], px[0]};
      int v[3];
      for (int c = 0; c < 3; ++c) {
        v[c] = std::clamp(in[c] + (carry[c] + row[c][p + dir] + 8) / 16, 0, 255);
      }
      const int level[3] = {(v[0] + 3) / 51, (v[1] + 3) / 51, (v[2] + 3) / 51};
      expected[y][x] = 36 * level[0] + 6 * level[1] + level[2];
      for (int c = 0; c < 3; ++c) {
        const int e = v[c] - 51 * level[c];
        row[c][p] = belowPrev[c] + 3 * e;
        belowPrev[c] = below[c] + 5 * e;
        below[c] = e;
        carry[c] = 7 * e;
      }
      p += dir;
    }
    for (int c = 0; c < 3; ++c) row[c][p] = belowPrev[c];
    dir = -dir;
  }
  EXPECT_EQ(reduce(source, ReductionWeb216, DitherFloydSteinberg), expected);
}

TEST(Dither, EveryKernelMatchesADirectModel) {
  // The plain model: per row below a buffer with `reach` spare slots on
  // each side, every weighted error added where the kernel names it.
  struct Tap {
    int row, offset, weight;
  };
  struct Model {
    TDitherMode mode;
    int divisor, reach;
    std::vector<Tap> taps;
  };
  const Model models[] = {
      {DitherFloydSteinberg, 16, 1, {{0, 1, 7}, {1, -1, 3}, {1, 0, 5}, {1, 1, 1}}},
      {DitherStucki,
       42,
       2,
       {{0, 1, 8},
        {0, 2, 4},
        {1, -2, 2},
        {1, -1, 4},
        {1, 0, 8},
        {1, 1, 4},
        {1, 2, 2},
        {2, -2, 1},
        {2, -1, 2},
        {2, 0, 4},
        {2, 1, 2},
        {2, 2, 1}}},
      {DitherSierra,
       32,
       2,
       {{0, 1, 5},
        {0, 2, 3},
        {1, -2, 2},
        {1, -1, 4},
        {1, 0, 5},
        {1, 1, 4},
        {1, 2, 2},
        {2, -1, 2},
        {2, 0, 3},
        {2, 1, 2}}},
      {DitherJarvisJudiceNinke,
       48,
       2,
       {{0, 1, 7},
        {0, 2, 5},
        {1, -2, 3},
        {1, -1, 5},
        {1, 0, 7},
        {1, 1, 5},
        {1, 2, 3},
        {2, -2, 1},
        {2, -1, 3},
        {2, 0, 5},
        {2, 1, 3},
        {2, 2, 1}}},
      {DitherStevensonArce,
       200,
       3,
       {{0, 2, 32},
        {1, -3, 12},
        {1, -1, 26},
        {1, 1, 30},
        {1, 3, 16},
        {2, -2, 12},
        {2, 0, 26},
        {2, 2, 12},
        {3, -3, 5},
        {3, -1, 12},
        {3, 1, 12},
        {3, 3, 5}}},
      {DitherBurkes,
       32,
       2,
       {{0, 1, 8}, {0, 2, 4}, {1, -2, 2}, {1, -1, 4}, {1, 0, 8}, {1, 1, 4}, {1, 2, 2}}},
  };
  const int width = 19, height = 8;
  const auto image = [&] {
    return makeImage(width, height, [noise = ByteNoise(21)](int, int) mutable {
      return Rgb{noise.next(), noise.next(), noise.next()};
    });
  };
  Bitmap source = image();
  for (const Model& m : models) {
    std::vector<std::vector<int>> expected(height, std::vector<int>(width));
    std::vector<std::vector<int>> buffers(4, std::vector<int>(3 * (width + 2 * m.reach), 0));
    int dir = 1;
    for (int y = 0; y < height; ++y) {
      for (int x = dir > 0 ? 0 : width - 1; x >= 0 && x < width; x += dir) {
        const int pos = x + m.reach;
        const std::uint8_t* px = source.row(y) + 3 * x;
        const int in[3] = {px[2], px[1], px[0]};
        int v[3], level[3];
        for (int c = 0; c < 3; ++c) {
          v[c] = std::clamp(in[c] + (buffers[0][3 * pos + c] + m.divisor / 2) / m.divisor, 0, 255);
          level[c] = (v[c] + 3) / 51;
        }
        expected[y][x] = 36 * level[0] + 6 * level[1] + level[2];
        for (const Tap& t : m.taps) {
          for (int c = 0; c < 3; ++c) {
            buffers[t.row][3 * (pos + t.offset * dir) + c] += (v[c] - 51 * level[c]) * t.weight;
          }
        }
      }
      std::fill(buffers[0].begin(), buffers[0].end(), 0);
      std::rotate(buffers.begin(), buffers.begin() + 1, buffers.end());
      dir = -dir;
    }
    EXPECT_EQ(reduce(image(), ReductionWeb216, m.mode), expected) << "mode " << m.mode;
  }
}

TEST(Dither, OddRowsRunRightToLeftWithMirroredKernels) {
  // Row 0 is white and maps without error, so row 1 must come out as the
  // mirror image of the same pixels reduced left to right on their own.
  const int width = 9;
  std::vector<Rgb> pixels;
  ByteNoise noise(3);
  for (int x = 0; x < width; ++x) pixels.push_back(grey(noise.next()));
  for (TDitherMode mode : kDiffusers) {
    const auto twoRows =
        reduce(makeImage(width, 2, [&](int x, int y) { return y == 0 ? grey(255) : pixels[x]; }),
               ReductionMonochrome, mode);
    auto oneRow = reduce(makeImage(width, 1, [&](int x, int) { return pixels[width - 1 - x]; }),
                         ReductionMonochrome, mode)[0];
    std::reverse(oneRow.begin(), oneRow.end());
    EXPECT_EQ(twoRows[1], oneRow) << "mode " << mode;
  }
}

TEST(Dither, SerpentineOrderFeedsTheLookupCache) {
  // Row 1 is mapped right to left: (23,23,23) claims the cell for entry 1
  // before (16,16,16) is looked up.
  const Palette palette{{0, 0, 0, 0}, {40, 40, 40, 0}, {255, 255, 255, 0}};
  const auto rows = reduce(
      makeImage(2, 2, [](int x, int y) { return y == 0 ? grey(255) : grey(x == 0 ? 16 : 23); }),
      ReductionCustomPalette, DitherNearest, &palette);
  EXPECT_EQ(rows[1], (std::vector<int>{1, 1}));
}

TEST(Dither, ExactPaletteColoursGiveTheNearestResult) {
  // Every web colour owns its lookup cell, so no error ever arises.
  const Palette web = webPalette216();
  const auto image = [&] {
    return makeImage(23, 11, [&, noise = ByteNoise(9)](int, int) mutable {
      const PaletteEntry& e = web[noise.next() % 216];
      return Rgb{e.red, e.green, e.blue};
    });
  };
  const auto nearest = reduce(image(), ReductionCustomPalette, DitherNearest, &web);
  for (TDitherMode mode : kDiffusers) {
    EXPECT_EQ(reduce(image(), ReductionCustomPalette, mode, &web), nearest) << "mode " << mode;
  }
}

TEST(Dither, NarrowImagesAndSaturatedErrors) {
  // White on a palette without white: the error only ever grows the
  // corrected value, which must stay clamped at 255 (never wrap to dark).
  const Palette noWhite{{0, 0, 0, 0}, {128, 128, 128, 0}};
  for (TDitherMode mode : kDiffusers) {
    for (int width : {1, 2, 40}) {
      const auto rows = reduce(makeImage(width, 30, [](int, int) { return grey(255); }),
                               ReductionCustomPalette, mode, &noWhite);
      for (const auto& row : rows) {
        EXPECT_TRUE(std::all_of(row.begin(), row.end(), [](int i) { return i == 1; }))
            << "mode " << mode << " width " << width;
      }
    }
  }
}

}  // namespace
}  // namespace klipora::imaging::gif
