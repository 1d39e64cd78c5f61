#include "imaging/gif/octree.h"

#include <gtest/gtest.h>

#include "base/error.h"
#include "reduce_test_images.h"

namespace klipora::imaging::gif {
namespace {

using testing::ByteNoise;

Palette tableOf(const TColorQuantizer& quantizer) {
  Palette table(256, PaletteEntry{7, 7, 7, 7});
  table.resize(static_cast<std::size_t>(quantizer.WriteColorTable(table)));
  return table;
}

Palette quantize(int maxColors, std::initializer_list<Rgb> pixels) {
  TColorQuantizer quantizer(maxColors, 8);
  for (const Rgb& p : pixels) quantizer.addPixel(p.red, p.green, p.blue);
  return tableOf(quantizer);
}

TEST(Octree, TableOrderAndAverages) {
  struct Case {
    const char* name;
    int maxColors;
    std::initializer_list<Rgb> pixels;
    Palette expected;
  };
  const Case cases[] = {
      {"branch order, not first-seen order",
       236,
       {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 0, 0}},
       {{0, 0, 255, 0}, {0, 255, 0, 0}, {255, 0, 0, 0}}},
      {"single colour", 236, {{12, 34, 56}, {12, 34, 56}}, {{12, 34, 56, 0}}},
      {"averages drop the fraction", 1, {{255, 0, 0}, {254, 0, 0}}, {{254, 0, 0, 0}}},
      // (0,0,0) and (0,0,1) share one bottom node, (2,0,0) and (2,0,1)
      // another, created later: that one is merged first.
      {"later node merged first",
       3,
       {{0, 0, 0}, {0, 0, 1}, {2, 0, 0}, {2, 0, 1}},
       {{0, 0, 0, 0}, {0, 0, 1, 0}, {2, 0, 0, 0}}},
  };
  for (const Case& c : cases) EXPECT_EQ(quantize(c.maxColors, c.pixels), c.expected) << c.name;
}

TEST(Octree, KeepsEveryColourBelowTheLimit) {
  TColorQuantizer quantizer(236, 8);
  Palette expected;
  for (int i = 0; i < 200; ++i) {
    // Increasing red keeps the expected table in branch order.
    const auto v = static_cast<std::uint8_t>(i);
    quantizer.addPixel(v, 3, 200);
    quantizer.addPixel(v, 3, 200);
    expected.push_back({v, 3, 200, 0});
  }
  EXPECT_EQ(tableOf(quantizer), expected);
}

TEST(Octree, MergingEightChildrenRemovesSevenLeaves) {
  TColorQuantizer quantizer(8, 8);
  for (int i = 0; i < 8; ++i) {
    quantizer.addPixel(static_cast<std::uint8_t>(i >> 2), (i >> 1) & 1, i & 1);
  }
  EXPECT_EQ(quantizer.leafCount(), 8);
  // The ninth colour's own bottom node (one child) is merged first without
  // effect, then the older one with eight.
  quantizer.addPixel(128, 0, 0);
  EXPECT_EQ(quantizer.leafCount(), 2);
  EXPECT_EQ(tableOf(quantizer), (Palette{{0, 0, 0, 0}, {128, 0, 0, 0}}));
}

TEST(Octree, LeafCountNeverExceedsTheLimit) {
  Bitmap image = testing::makeImage(64, 64, [noise = ByteNoise(5)](int, int) mutable {
    return Rgb{noise.next(), noise.next(), noise.next()};
  });
  TColorQuantizer quantizer(16, 8);
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const std::uint8_t* p = image.row(y) + 3 * x;
      quantizer.addPixel(p[2], p[1], p[0]);
      ASSERT_LE(quantizer.leafCount(), 16);
    }
  }
  TColorQuantizer whole(16, 8);
  whole.ProcessBitmap(image);
  EXPECT_EQ(tableOf(whole), tableOf(quantizer));
  EXPECT_GE(whole.leafCount(), 1);
}

TEST(Octree, RefusesMoreThanEightColourBits) {
  try {
    TColorQuantizer quantizer(236, 9);
    FAIL();
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), "ColorBits must be 8 or less");
  }
}

}  // namespace
}  // namespace klipora::imaging::gif
