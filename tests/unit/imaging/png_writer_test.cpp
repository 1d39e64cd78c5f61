#include "imaging/png_writer.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <random>
#include <string>

#include "format_fixtures.h"

namespace klipora::imaging {
namespace {

using testing::be32;
using testing::patternBitmap;

struct Chunk {
  std::string type;
  std::vector<std::uint8_t> data;
};

std::vector<Chunk> chunksOf(const std::vector<std::uint8_t>& png) {
  static const std::uint8_t signature[8] = {137, 'P', 'N', 'G', 13, 10, 26, 10};
  EXPECT_TRUE(std::equal(signature, signature + 8, png.begin()));
  std::vector<Chunk> chunks;
  for (std::size_t at = 8; at + 12 <= png.size();) {
    const std::uint32_t length = be32(png, at);
    Chunk chunk{std::string(png.begin() + at + 4, png.begin() + at + 8),
                {png.begin() + at + 8, png.begin() + at + 8 + length}};
    const auto crc = crc32(0, png.data() + at + 4, 4 + length);  // type and data
    EXPECT_EQ(be32(png, at + 8 + length), crc) << chunk.type;
    chunks.push_back(std::move(chunk));
    at += 12 + length;
  }
  return chunks;
}

std::vector<std::uint8_t> encode(const Bitmap& bitmap) {
  MemoryStream out;
  writePng(bitmap, out);
  return out.bytes();
}

// The inflated image data of all IDAT chunks together.
std::vector<std::uint8_t> imageData(const std::vector<Chunk>& chunks, std::size_t size) {
  std::vector<std::uint8_t> deflated;
  for (const auto& chunk : chunks) {
    if (chunk.type == "IDAT") deflated.insert(deflated.end(), chunk.data.begin(), chunk.data.end());
  }
  std::vector<std::uint8_t> out(size + 1);
  uLongf length = static_cast<uLongf>(out.size());
  EXPECT_EQ(uncompress(out.data(), &length, deflated.data(), static_cast<uLong>(deflated.size())),
            Z_OK);
  out.resize(length);
  return out;
}

std::vector<std::string> typesOf(const std::vector<Chunk>& chunks) {
  std::vector<std::string> types;
  for (const auto& chunk : chunks) types.push_back(chunk.type);
  return types;
}

TEST(PngWriter, HeaderAndPaletteByDepth) {
  // depth, bit depth, colour type
  const std::tuple<int, unsigned, unsigned> cases[] = {{1, 1, 3},  {4, 4, 3},  {8, 8, 3},
                                                       {16, 8, 2}, {24, 8, 2}, {32, 8, 2}};
  for (const auto& [depth, bitDepth, colourType] : cases) {
    SCOPED_TRACE(depth);
    Bitmap bitmap = patternBitmap(5, 3, depth);
    if (depth == 8) bitmap.palette().resize(20);  // fewer colours than the depth holds
    const auto chunks = chunksOf(encode(bitmap));
    const bool palette = colourType == 3;
    const std::vector<std::string> withPalette = {"IHDR", "PLTE", "IDAT", "IEND"};
    const std::vector<std::string> withoutPalette = {"IHDR", "IDAT", "IEND"};
    EXPECT_EQ(typesOf(chunks), palette ? withPalette : withoutPalette);
    const auto& ihdr = chunks[0].data;
    EXPECT_EQ(be32(ihdr, 0), 5u);
    EXPECT_EQ(be32(ihdr, 4), 3u);
    EXPECT_EQ(ihdr[8], bitDepth);
    EXPECT_EQ(ihdr[9], colourType);
    EXPECT_EQ((std::vector<std::uint8_t>{ihdr[10], ihdr[11], ihdr[12]}),
              (std::vector<std::uint8_t>{0, 0, 0}));
    if (palette) {
      const auto& plte = chunks[1].data;
      ASSERT_EQ(plte.size(), 3u << depth);
      EXPECT_EQ(plte[3], bitmap.palette()[1].red);
      EXPECT_EQ(plte[5], bitmap.palette()[1].blue);
      EXPECT_EQ(plte.back(), depth == 8 ? 0 : bitmap.palette().back().blue);
    }
    // zlib header of level 7 with the default 32 KiB window.
    EXPECT_EQ(chunks[2 - (palette ? 0 : 1)].data[0], 0x78);
    EXPECT_EQ(chunks[2 - (palette ? 0 : 1)].data[1], 0xDA);
  }
}

TEST(PngWriter, EveryRowUsesTheSubFilter) {
  Bitmap rgb(2, 2, 24);
  const std::uint8_t row0[6] = {10, 20, 30, 5, 25, 200};  // blue, green, red
  const std::uint8_t row1[6] = {1, 2, 3, 4, 5, 6};
  std::copy(row0, row0 + 6, rgb.row(0));
  std::copy(row1, row1 + 6, rgb.row(1));
  EXPECT_EQ(imageData(chunksOf(encode(rgb)), 14),
            (std::vector<std::uint8_t>{1, 30, 20, 10, 170, 5, 251, 1, 3, 2, 1, 3, 3, 3}));

  // One pixel wide: the filtered row is the row itself.
  Bitmap narrow(1, 2, 8);
  narrow.row(0)[0] = 7;
  narrow.row(1)[0] = 9;
  EXPECT_EQ(imageData(chunksOf(encode(narrow)), 4), (std::vector<std::uint8_t>{1, 7, 1, 9}));

  // Packed indexes: the left neighbour is one byte back.
  Bitmap packed(16, 1, 1);
  packed.row(0)[0] = 0xF0;
  packed.row(0)[1] = 0x0F;
  EXPECT_EQ(imageData(chunksOf(encode(packed)), 3), (std::vector<std::uint8_t>{1, 0xF0, 0x1F}));
}

// Random pixels barely compress, so the data grows by one byte a pixel;
// the test looks for the widths that land on 65535 and 65536 bytes.
TEST(PngWriter, IdatChunksHoldExactly65535Bytes) {
  std::mt19937 random(7);
  Bitmap noise(66000, 1, 8);
  for (int x = 0; x < noise.width(); ++x) noise.row(0)[x] = static_cast<std::uint8_t>(random());
  const auto idatSizes = [&](int width) {
    Bitmap bitmap(width, 1, 8);
    std::copy(noise.row(0), noise.row(0) + width, bitmap.row(0));
    std::vector<std::size_t> sizes;
    for (const auto& chunk : chunksOf(encode(bitmap))) {
      if (chunk.type == "IDAT") sizes.push_back(chunk.data.size());
    }
    return sizes;
  };
  const auto total = [](const std::vector<std::size_t>& sizes) {
    std::size_t sum = 0;
    for (auto s : sizes) sum += s;
    return sum;
  };
  const std::size_t overhead = total(idatSizes(65000)) - 65000;
  bool sawExact = false;
  bool sawOneMore = false;
  for (int width = static_cast<int>(65535 - overhead) - 4;
       width <= static_cast<int>(65536 - overhead) + 4; ++width) {
    const auto sizes = idatSizes(width);
    if (total(sizes) == 65535) {
      sawExact = true;
      EXPECT_EQ(sizes, std::vector<std::size_t>{65535});
    } else if (total(sizes) == 65536) {
      sawOneMore = true;
      EXPECT_EQ(sizes, (std::vector<std::size_t>{65535, 1}));
    }
  }
  EXPECT_TRUE(sawExact);
  EXPECT_TRUE(sawOneMore);
}

}  // namespace
}  // namespace klipora::imaging
