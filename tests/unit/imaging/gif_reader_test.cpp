#include <gtest/gtest.h>

#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "gif_test_support.h"
#include "imaging/gif/gif_exception.h"
#include "imaging/gif/gif_image.h"
#include "imaging/gif/lzw_encoder.h"
#include "imaging/output_stream.h"

namespace klipora::imaging::gif {
namespace {

using Bytes = std::vector<std::uint8_t>;
using testing::indexedBitmap;
using testing::randomIndexes;

struct Loaded {
  std::string error;  // empty when the load succeeded
  std::vector<std::string> warnings;
};

Loaded load(TGIFImage& image, const Bytes& data) {
  Loaded result;
  image.setWarningReceiver([&](const std::string& warning) { result.warnings.push_back(warning); });
  try {
    image.loadFromMemory(data);
  } catch (const GIFException& error) {
    result.error = error.what();
  }
  return result;
}

// Logical screen 2x2 with a 2-entry global table (black, white).
Bytes header(std::uint16_t width = 2, std::uint16_t height = 2) {
  return {'G',
          'I',
          'F',
          '8',
          '9',
          'a',
          static_cast<std::uint8_t>(width),
          static_cast<std::uint8_t>(width >> 8),
          static_cast<std::uint8_t>(height),
          static_cast<std::uint8_t>(height >> 8),
          0x80,
          0,
          0,
          0,
          0,
          0,
          255,
          255,
          255};
}

// A 2x2 frame without a local table; pixels 0 1 / 1 0 with code size 2.
Bytes frame(std::uint16_t width = 2, std::uint16_t height = 2, std::uint8_t codeSize = 2) {
  Bytes bytes = {',',
                 0,
                 0,
                 0,
                 0,
                 static_cast<std::uint8_t>(width),
                 static_cast<std::uint8_t>(width >> 8),
                 static_cast<std::uint8_t>(height),
                 static_cast<std::uint8_t>(height >> 8),
                 0,
                 codeSize};
  MemoryStream data;
  const Bytes pixels = {0, 1, 1, 0};
  TLZWEncoder().encode(data, {pixels.data(), 2, 2, false}, 2, 2);
  bytes.insert(bytes.end(), data.bytes().begin(), data.bytes().end());
  bytes.push_back(0);
  return bytes;
}

Bytes operator+(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

TEST(GifReader, RoundTripKeepsIndexesAndTable) {
  const struct {
    int width, height, colors;
  } sizes[] = {{1, 1, 2}, {5, 3, 3}, {640, 40, 256}, {333, 77, 17}};
  for (const auto& size : sizes) {
    const auto indexes = randomIndexes(static_cast<std::size_t>(size.width * size.height),
                                       size.colors, static_cast<unsigned>(size.width));
    TGIFImage written;
    written.assign(indexedBitmap(size.width, size.height, size.colors, indexes));
    const Bytes gif = written.saveToMemory();

    TGIFImage read;
    const Loaded loaded = load(read, gif);
    ASSERT_EQ(loaded.error, "");
    EXPECT_TRUE(loaded.warnings.empty());
    ASSERT_EQ(read.frames().size(), 1u);
    const TGIFSubImage& frame = *read.frames().front();
    EXPECT_EQ(Bytes(frame.pixels().begin(), frame.pixels().end()), indexes);
    // The stream pads the table to a power of two with black.
    const TGIFColorMap& original = written.frames().front()->colorMap();
    ASSERT_EQ(frame.colorMap().count(), 1 << original.bitsPerEntry());
    for (int i = 0; i < frame.colorMap().count(); ++i) {
      EXPECT_EQ(frame.colorMap()[i], i < original.count() ? original[i] : GifColor{}) << i;
    }
    EXPECT_EQ(read.saveToMemory(), gif);

    const Bitmap& view = read.bitmap();
    ASSERT_EQ(view.width(), size.width);
    EXPECT_EQ(view.row(size.height - 1)[size.width - 1], indexes.back());
  }
}

TEST(GifReader, RoundTripOfLongRunsAcrossTableResets) {
  // Runs of growing length in a few colours, with noise between them: the
  // encoder's run and repeat shortcuts must agree with the full table.
  std::vector<std::uint8_t> indexes;
  const auto noise = randomIndexes(50000, 256, 5);
  for (std::size_t run = 1; indexes.size() < 1000 * 700; run = run % 5000 + 7) {
    indexes.insert(indexes.end(), run, static_cast<std::uint8_t>(run % 3));
    indexes.insert(indexes.end(), noise.begin() + static_cast<long>(run % 40000),
                   noise.begin() + static_cast<long>(run % 40000 + run % 23));
  }
  indexes.resize(1000 * 700);
  TGIFImage written;
  written.assign(indexedBitmap(1000, 700, 256, indexes));
  TGIFImage read;
  ASSERT_EQ(load(read, written.saveToMemory()).error, "");
  const auto pixels = read.frames().front()->pixels();
  EXPECT_TRUE(Bytes(pixels.begin(), pixels.end()) == indexes);
}

TEST(GifReader, ReadsNewerFormatWithExtensionsAndInterlace) {
  // 1x4 interlaced frame: stream rows 0, 2, 1, 3 hold 0, 2, 1, 3.
  Bytes interlaced = {',', 0, 0, 0, 0, 1, 0, 4, 0, 0x40 | 0x81, 0, 0,
                      0,   1, 1, 1, 2, 2, 2, 3, 3, 3,           2};
  MemoryStream data;
  const Bytes streamOrder = {0, 2, 1, 3};
  TLZWEncoder().encode(data, {streamOrder.data(), 1, 4, false}, 2, 4);
  interlaced = interlaced + data.bytes() + Bytes{0};
  const Bytes control = {'!', 0xF9, 4, 0, 10, 0, 0, 0};
  const Bytes comment = {'!', 0xFE, 3, 'h', 'e', 'y', 0};
  const Bytes loop = {'!', 0xFF, 11,  'N', 'E', 'T', 'S', 'C', 'A', 'P',
                      'E', '2',  '.', '0', 3,   1,   0,   0,   0};
  const Bytes gif = header(1, 4) + loop + control + comment + interlaced + Bytes{';'};

  TGIFImage image;
  const Loaded loaded = load(image, gif);
  ASSERT_EQ(loaded.error, "");
  const TGIFSubImage& frame = *image.frames().front();
  EXPECT_EQ(Bytes(frame.pixels().begin(), frame.pixels().end()), (Bytes{0, 1, 2, 3}));
  EXPECT_EQ(frame.extensions().size(), 3u);
  EXPECT_EQ(image.version(), "89a");
  // A global table smaller than the local one keeps its own size field.
  EXPECT_EQ(image.saveToMemory()[10], 0x90);
  // Extensions go out again block for block.
  TGIFImage again;
  ASSERT_EQ(load(again, image.saveToMemory()).error, "");
  EXPECT_EQ(again.frames().front()->extensions(), frame.extensions());
}

TEST(GifReader, ErrorsAndWarnings) {
  const Bytes good = header() + frame() + Bytes{';'};
  Bytes shifted = Bytes{1, 2, 3, 4} + good;
  Bytes lowerCase = good;
  lowerCase[0] = 'g';
  const struct {
    const char* name;
    Bytes data;
    std::string error;
    std::vector<std::string> warnings;
  } cases[] = {
      {"plain", good, "", {}},
      {"lower-case signature", lowerCase, "", {}},
      {"signature 4 bytes on", shifted, "", {}},
      {"no signature",
       Bytes{'P', 'N', 'G', '8', '9', 'a', 0, 0, 0, 0, 0, 0, 0, 0},
       "Invalid GIF signature",
       {}},
      {"empty", {}, "Premature end of data", {}},
      {"cut in table", Bytes(good.begin(), good.begin() + 15), "Premature end of data", {}},
      {"cut in data", Bytes(good.begin(), good.end() - 3), "Premature end of data", {}},
      {"no trailer", Bytes(good.begin(), good.end() - 1), "", {}},
      {"zeros before trailer", header() + frame() + Bytes{0, 0, ';'}, "", {}},
      {"unknown block",
       header() + frame() + Bytes{'x'},
       "",
       {"Unknown GIF block type", "Invalid Image trailer"}},
      {"junk after extension",
       header() + Bytes{'!', 0xFE, 0, 'x'},
       "",
       {"Invalid extension introducer", "Invalid Image trailer"}},
      {"unknown extension", header() + Bytes{'!', 0x42, 0} + frame(), "Unknown extension type", {}},
      {"short loop block",
       header() +
           Bytes{'!', 0xFF, 11, 'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0', 2, 1, 0, 0},
       "Invalid GIF data",
       {}},
      {"zero-sized frame",
       header() + frame(0, 0) + Bytes{';'},
       "",
       {"Image exceeds Logical Screen size"}},
      {"frame off screen",
       header() + frame(3, 2) + Bytes{';'},
       "",
       {"Image exceeds Logical Screen size", "Corrupt image data"}},
      {"code size 12", header() + frame(2, 2, 12), "Invalid GIF data", {}},
      {"code beyond table",
       header() + Bytes{',', 0, 0, 0, 0, 2, 0, 2, 0, 0, 2, 1, 0x3F, 0, ';'},
       "",
       {"Corrupt image data"}},
      {"huge frame, little data",
       header(65535, 65535) + frame(65535, 65535) + Bytes{';'},
       "Image too large",
       {}},
  };
  for (const auto& test : cases) {
    TGIFImage image;
    const Loaded loaded = load(image, test.data);
    EXPECT_EQ(loaded.error, test.error) << test.name;
    EXPECT_EQ(loaded.warnings, test.warnings) << test.name;
    if (!test.error.empty()) {
      EXPECT_TRUE(image.empty()) << test.name;
    }
  }
}

TEST(GifReader, EveryTruncationFailsCleanly) {
  TGIFImage written;
  written.assign(indexedBitmap(40, 30, 256, randomIndexes(1200, 256, 9)));
  const Bytes gif = written.saveToMemory();
  for (std::size_t length = 0; length < gif.size(); ++length) {
    TGIFImage image;
    const Loaded loaded = load(image, Bytes(gif.begin(), gif.begin() + static_cast<long>(length)));
    // A stream may end where a block could start: after the screen descriptor
    // or after the frame.
    const bool blockBoundary = length == 13 || length + 1 == gif.size();
    EXPECT_EQ(loaded.error, blockBoundary ? "" : "Premature end of data") << length;
  }
}

TEST(GifReader, StreamPositionOnSuccessAndFailure) {
  const Bytes good = header() + frame() + Bytes{';'};
  std::stringstream stream(std::string(3, '#') + std::string(good.begin(), good.end()) + "tail");
  stream.seekg(3);
  TGIFImage image;
  image.loadFromStream(stream);
  EXPECT_EQ(static_cast<std::size_t>(stream.tellg()), 3 + good.size());

  std::stringstream broken(std::string(good.begin(), good.end() - 4));
  EXPECT_THROW(image.loadFromStream(broken), GIFException);
  EXPECT_EQ(broken.tellg(), 0);
}

}  // namespace
}  // namespace klipora::imaging::gif
