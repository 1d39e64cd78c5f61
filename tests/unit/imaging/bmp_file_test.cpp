#include "imaging/bmp_file.h"

#include <gtest/gtest.h>

#include "base/error.h"
#include "format_fixtures.h"

namespace klipora::imaging {
namespace {

using testing::le16;
using testing::le32;
using testing::patternBitmap;

std::vector<std::uint8_t> encode(const Bitmap& bitmap) {
  MemoryStream out;
  writeBmp(bitmap, out);
  return out.bytes();
}

TEST(BmpFile, HeaderTableAndRowsAtTheBitmapsOwnDepth) {
  // depth, colour table entries, bytes per row for width 5
  const std::tuple<int, unsigned, unsigned> cases[] = {{1, 2, 4},   {4, 16, 4},  {8, 256, 8},
                                                       {16, 0, 12}, {24, 0, 16}, {32, 0, 20}};
  for (const auto& [depth, colours, stride] : cases) {
    SCOPED_TRACE(depth);
    const Bitmap bitmap = patternBitmap(5, 3, depth);
    const auto file = encode(bitmap);
    const std::uint32_t offset = 54 + 4 * colours;
    ASSERT_EQ(file.size(), offset + 3 * stride);
    EXPECT_EQ(file[0], 'B');
    EXPECT_EQ(file[1], 'M');
    EXPECT_EQ(le32(file, 2), file.size());
    EXPECT_EQ(le32(file, 10), offset);
    EXPECT_EQ(le32(file, 14), 40u);
    EXPECT_EQ(le32(file, 18), 5u);
    EXPECT_EQ(le32(file, 22), 3u);
    EXPECT_EQ(le16(file, 28), static_cast<unsigned>(depth));
    EXPECT_EQ(le32(file, 30), 0u);
    EXPECT_EQ(le32(file, 34), 3 * stride);
    EXPECT_EQ(le32(file, 46), colours);
    if (colours > 0) {
      const PaletteEntry& last = bitmap.palette()[colours - 1];
      EXPECT_EQ((std::vector<std::uint8_t>(file.begin() + offset - 4, file.begin() + offset)),
                (std::vector<std::uint8_t>{last.blue, last.green, last.red, 0}));
    }
    // Bottom row first, padding zero.
    EXPECT_TRUE(std::equal(bitmap.row(2), bitmap.row(2) + stride, file.begin() + offset));
    EXPECT_TRUE(
        std::equal(bitmap.row(0), bitmap.row(0) + stride, file.begin() + offset + 2 * stride));
    EXPECT_TRUE(testing::samePixels(readBmp(file), bitmap));
    if (depth <= 8) {
      EXPECT_EQ(readBmp(file).palette(), bitmap.palette());
    }
  }
}

TEST(BmpFile, ReaderTakesTopDownAndBitFieldFiles) {
  // A 2x2 top-down 16-bit 5-6-5 file: red, green / blue, white.
  std::vector<std::uint8_t> file = {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 66, 0, 0, 0};
  const auto put32 = [&](std::uint32_t v) {
    for (int i = 0; i < 4; ++i) file.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
  };
  put32(40);
  put32(2);
  put32(static_cast<std::uint32_t>(-2));
  file.insert(file.end(), {1, 0, 16, 0});
  put32(3);
  for (int i = 0; i < 5; ++i) put32(0);
  put32(0xF800);
  put32(0x07E0);
  put32(0x001F);
  file.insert(file.end(), {0x00, 0xF8, 0xE0, 0x07, 0x1F, 0x00, 0xFF, 0xFF});
  const Bitmap bitmap = readBmp(file);
  ASSERT_EQ(bitmap.bitsPerPixel(), 24);
  EXPECT_EQ((std::vector<std::uint8_t>(bitmap.row(0), bitmap.row(0) + 6)),
            (std::vector<std::uint8_t>{0, 0, 255, 0, 255, 0}));
  EXPECT_EQ((std::vector<std::uint8_t>(bitmap.row(1), bitmap.row(1) + 6)),
            (std::vector<std::uint8_t>{255, 0, 0, 255, 255, 255}));

  file.resize(file.size() - 1);
  EXPECT_THROW(readBmp(file), Error);
  EXPECT_THROW(readBmp(std::vector<std::uint8_t>{'B', 'M', 1}), Error);
}

}  // namespace
}  // namespace klipora::imaging
