#include "imaging/bitmap.h"

#include <gtest/gtest.h>

#include "base/error.h"

namespace klipora::imaging {
namespace {

TEST(Bitmap, RejectsBadShapesCleanly) {
  struct Case {
    int width, height, bits;
  };
  for (const Case& c :
       {Case{4, 4, 0}, Case{4, 4, 2}, Case{4, 4, 7}, Case{4, 4, 48}, Case{-1, 4, 24},
        Case{4, -1, 8}, Case{65536, 65536, 32}, Case{2147483647, 2, 32}}) {
    EXPECT_THROW(Bitmap(c.width, c.height, c.bits), Error)
        << c.width << "x" << c.height << "x" << c.bits;
  }
  EXPECT_TRUE(Bitmap(0, 10, 24).empty());
  EXPECT_TRUE(Bitmap(10, 0, 8).empty());
}

TEST(Bitmap, RowsArePaddedToFourBytes) {
  EXPECT_EQ(Bitmap(3, 2, 24).stride(), 12u);
  EXPECT_EQ(Bitmap(5, 1, 1).stride(), 4u);
  EXPECT_EQ(Bitmap(9, 1, 4).stride(), 8u);
  EXPECT_EQ(Bitmap(3, 1, 16).stride(), 8u);
}

// Pixel (x, 0) of a converted bitmap as blue, green, red.
std::array<int, 3> bgrAt(const Bitmap& b, int x) {
  const std::uint8_t* p = b.row(0) + 3 * x;
  return {p[0], p[1], p[2]};
}

TEST(Bitmap, ConvertsEveryDepthTo24Bits) {
  const Palette palette{{10, 20, 30, 0}, {40, 50, 60, 0}, {1, 2, 3, 0}};

  Bitmap mono(9, 1, 1);
  mono.palette() = palette;
  mono.row(0)[0] = 0b01000000;
  mono.row(0)[1] = 0b10000000;  // pixel 8
  mono.convertTo24Bits();
  EXPECT_EQ(bgrAt(mono, 0), (std::array<int, 3>{30, 20, 10}));
  EXPECT_EQ(bgrAt(mono, 1), (std::array<int, 3>{60, 50, 40}));
  EXPECT_EQ(bgrAt(mono, 8), (std::array<int, 3>{60, 50, 40}));

  Bitmap nibbles(3, 1, 4);
  nibbles.palette() = palette;
  nibbles.row(0)[0] = 0x21;
  nibbles.row(0)[1] = 0xF0;  // index 15 lies beyond the table: black
  nibbles.convertTo24Bits();
  EXPECT_EQ(bgrAt(nibbles, 0), (std::array<int, 3>{3, 2, 1}));
  EXPECT_EQ(bgrAt(nibbles, 1), (std::array<int, 3>{60, 50, 40}));
  EXPECT_EQ(bgrAt(nibbles, 2), (std::array<int, 3>{0, 0, 0}));

  Bitmap rgb555(3, 1, 16);
  const std::uint16_t pixels[] = {0x7FFF, 0x001F, 0x0421};
  for (int x = 0; x < 3; ++x) {
    rgb555.row(0)[2 * x] = static_cast<std::uint8_t>(pixels[x] & 0xFF);
    rgb555.row(0)[2 * x + 1] = static_cast<std::uint8_t>(pixels[x] >> 8);
  }
  rgb555.convertTo24Bits();
  EXPECT_EQ(bgrAt(rgb555, 0), (std::array<int, 3>{255, 255, 255}));
  EXPECT_EQ(bgrAt(rgb555, 1), (std::array<int, 3>{255, 0, 0}));
  EXPECT_EQ(bgrAt(rgb555, 2), (std::array<int, 3>{8, 8, 8}));

  // Several rows, so that the in-place 32-bit path has to move rows down.
  Bitmap bgrx(3, 4, 32);
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 3; ++x) {
      for (int c = 0; c < 4; ++c)
        bgrx.row(y)[4 * x + c] = static_cast<std::uint8_t>(y * 16 + x * 4 + c);
    }
  }
  bgrx.convertTo24Bits();
  ASSERT_EQ(bgrx.bitsPerPixel(), 24);
  ASSERT_EQ(bgrx.stride(), 12u);
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 3; ++x) {
      for (int c = 0; c < 3; ++c) EXPECT_EQ(bgrx.row(y)[3 * x + c], y * 16 + x * 4 + c);
    }
    for (int pad = 9; pad < 12; ++pad) EXPECT_EQ(bgrx.row(y)[pad], 0);
  }
}

}  // namespace
}  // namespace klipora::imaging
