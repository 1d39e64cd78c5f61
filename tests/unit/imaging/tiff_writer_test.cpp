#include <gtest/gtest.h>

#include <map>
#include <tuple>

#include "base/error.h"
#include "format_fixtures.h"
#include "imaging/tiff/tiff_file.h"

namespace klipora::imaging::tiff {
namespace {

using testing::le16;
using testing::le32;
using testing::patternBitmap;

std::vector<std::uint8_t> writeTiff(const Bitmap& bitmap) {
  TTIFFFile file;
  file.AssignBitmap(bitmap);
  MemoryStream out;
  file.SaveToStream(out);
  return out.bytes();
}

struct Entry {
  unsigned type;
  std::uint32_t count;
  std::uint32_t value;
  bool operator==(const Entry&) const = default;
};

// The directory as tag -> entry, checking its frame on the way.
std::map<unsigned, Entry> directoryOf(const std::vector<std::uint8_t>& file) {
  const std::uint32_t at = le32(file, 4);
  EXPECT_EQ(file.size(), at + 186u);
  EXPECT_EQ(le16(file, at), 15u);
  EXPECT_EQ(le32(file, at + 2 + 15 * 12), 0u);
  std::map<unsigned, Entry> entries;
  unsigned previous = 0;
  for (unsigned i = 0; i < 15; ++i) {
    const std::size_t e = at + 2 + 12 * i;
    EXPECT_GT(le16(file, e), previous);
    previous = le16(file, e);
    entries[previous] = {le16(file, e + 2), le32(file, e + 4), le32(file, e + 8)};
  }
  return entries;
}

TEST(TiffWriter, RgbLayoutOfThreeByOnePixels) {
  Bitmap bitmap(3, 1, 24);
  const std::uint8_t bgr[9] = {1, 2, 3, 4, 5, 6, 7, 8, 9};
  std::copy(bgr, bgr + 9, bitmap.row(0));
  const auto file = writeTiff(bitmap);

  ASSERT_EQ(file.size(), 237u);
  EXPECT_EQ(le16(file, 0), 0x4949u);
  EXPECT_EQ(le16(file, 2), 42u);
  EXPECT_EQ(le32(file, 4), 51u);  // odd: no fill byte before the directory
  EXPECT_EQ(le32(file, 8), 877u);
  EXPECT_EQ(le32(file, 12), 10u);
  EXPECT_EQ(le32(file, 16), 877u);
  EXPECT_EQ(le32(file, 20), 10u);
  EXPECT_EQ(le16(file, 24), 8u);
  EXPECT_EQ(le16(file, 26), 8u);
  EXPECT_EQ(le16(file, 28), 8u);
  EXPECT_EQ(std::string(file.begin() + 30, file.begin() + 42), "QUILL-FABRIK");
  const std::vector<std::uint8_t> rgb(file.begin() + 42, file.begin() + 51);
  EXPECT_EQ(rgb, (std::vector<std::uint8_t>{3, 2, 1, 6, 5, 4, 9, 8, 7}));

  const std::map<unsigned, Entry> expected = {
      {254, {4, 1, 0}}, {256, {3, 1, 3}},  {257, {3, 1, 1}}, {258, {3, 3, 24}}, {259, {3, 1, 1}},
      {262, {3, 1, 2}}, {273, {4, 1, 42}}, {277, {3, 1, 3}}, {278, {4, 1, 1}},  {279, {4, 1, 9}},
      {282, {5, 1, 8}}, {283, {5, 1, 16}}, {284, {3, 1, 1}}, {296, {3, 1, 2}},  {305, {2, 12, 30}},
  };
  EXPECT_EQ(directoryOf(file), expected);
}

TEST(TiffWriter, DeeperSourcesWriteTheirTwentyFourBitConversion) {
  Bitmap source32 = patternBitmap(5, 3, 32);
  Bitmap source24 = source32;
  source24.convertTo24Bits();
  EXPECT_EQ(writeTiff(source32), writeTiff(source24));
  Bitmap source16 = patternBitmap(5, 3, 16);
  Bitmap converted16 = source16;
  converted16.convertTo24Bits();
  EXPECT_EQ(writeTiff(source16), writeTiff(converted16));
}

TEST(TiffWriter, EightBitColourMapScalesBy256) {
  Bitmap bitmap = patternBitmap(4, 2, 8);
  bitmap.palette()[0] = {255, 0, 128, 0};
  const auto file = writeTiff(bitmap);
  ASSERT_EQ(file.size(), 40u + 1536 + 8 + 186);
  EXPECT_EQ(le32(file, 24), 8u);
  EXPECT_EQ(std::string(file.begin() + 28, file.begin() + 40), "QUILL-FABRIK");
  EXPECT_EQ(le16(file, 40), 65280u);             // red of entry 0
  EXPECT_EQ(le16(file, 40 + 512), 0u);           // green of entry 0
  EXPECT_EQ(le16(file, 40 + 1024), 128u * 256);  // blue of entry 0
  EXPECT_EQ(le16(file, 40 + 2), bitmap.palette()[1].red * 256u);
  EXPECT_EQ(file[1576], bitmap.row(0)[0]);
  const auto dir = directoryOf(file);
  EXPECT_EQ(dir.at(320), (Entry{3, 768, 40}));
  EXPECT_EQ(dir.at(273), (Entry{4, 1, 1576}));
  EXPECT_EQ(dir.at(262), (Entry{3, 1, 3}));
  EXPECT_EQ(dir.at(305), (Entry{2, 12, 28}));
  EXPECT_FALSE(dir.contains(284));
}

// Narrow depths keep every column: rows are padded to whole bytes.
TEST(TiffWriter, NarrowDepthsKeepTheFullWidth) {
  // depth, width, bytes per row, colour map entries
  const std::tuple<int, int, unsigned, unsigned> cases[] = {
      {1, 13, 2, 2}, {1, 7, 1, 2}, {4, 6, 3, 16}, {4, 5, 3, 16}};
  for (const auto& [depth, width, rowBytes, colours] : cases) {
    SCOPED_TRACE(::testing::Message() << depth << " bits, width " << width);
    const Bitmap bitmap = patternBitmap(width, 3, depth);
    const auto file = writeTiff(bitmap);
    const auto dir = directoryOf(file);
    const std::uint32_t strip = 40 + 6 * colours;
    EXPECT_EQ(dir.at(256).value, static_cast<std::uint32_t>(width));
    EXPECT_EQ(dir.at(258), (Entry{3, 1, static_cast<std::uint32_t>(depth)}));
    EXPECT_EQ(dir.at(262).value, 3u);
    EXPECT_EQ(dir.at(279).value, rowBytes * 3);
    EXPECT_EQ(dir.at(273).value, strip);
    EXPECT_EQ(dir.at(320), (Entry{3, 3 * colours, 40}));
    EXPECT_EQ(le16(file, 40), bitmap.palette()[0].red * 257u);
    for (int y = 0; y < 3; ++y) {
      EXPECT_TRUE(
          std::equal(bitmap.row(y), bitmap.row(y) + rowBytes, file.begin() + strip + y * rowBytes));
    }
  }
}

TEST(TiffWriter, ShortPaletteLeavesTheRestBlackAndRepeatedWritesMatch) {
  Bitmap bitmap(2, 1, 1);
  bitmap.palette() = {{10, 20, 30, 0}};
  const auto first = writeTiff(bitmap);
  EXPECT_EQ(le16(first, 40), 10u * 257);
  EXPECT_EQ(le16(first, 42), 0u);
  writeTiff(patternBitmap(3, 3, 24));
  EXPECT_EQ(writeTiff(bitmap), first);
}

TEST(TiffWriter, RoundTripThroughTheReader) {
  for (const int depth : {1, 4, 8, 24}) {
    SCOPED_TRACE(depth);
    const Bitmap source = patternBitmap(11, 5, depth);
    TTIFFFile reader;
    reader.LoadFromStream(writeTiff(source));
    EXPECT_TRUE(testing::samePixels(reader.bitmap(), source));
    if (depth <= 8) {
      EXPECT_EQ(reader.bitmap().palette(), source.palette());
    }
  }
}

TEST(TiffWriter, RefusesSizesTheShortFieldsCannotHold) {
  TTIFFFile file;
  file.AssignBitmap(Bitmap(65536, 1, 1));
  MemoryStream out;
  EXPECT_THROW(file.SaveToStream(out), Error);
  TTIFFFile empty;
  empty.SaveToStream(out);
  EXPECT_TRUE(out.bytes().empty());
}

}  // namespace
}  // namespace klipora::imaging::tiff
