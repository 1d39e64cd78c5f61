#include "imaging/gif/gif_writer.h"

#include <gtest/gtest.h>

#include <cstdint>
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

// Screen descriptor, frame descriptor and a 256-entry table come first.
constexpr std::size_t kImageDataOffset = 13 + 10 + 768;

Bytes save(const Bitmap& bitmap) {
  TGIFImage image;
  image.assign(bitmap);
  return image.saveToMemory();
}

// The image data of a one-frame, 256-colour GIF: code size, sub-blocks, terminator.
Bytes imageData(const Bytes& gif) { return Bytes(gif.begin() + kImageDataOffset, gif.end() - 1); }

struct LzwVector {
  const char* name;
  int width;
  Bytes pixels;
  Bytes expected;
};

TEST(GifLzw, EncodesKnownVectors) {
  const LzwVector vectors[] = {
      {"single pixel", 1, {0}, {0x08, 0x04, 0x00, 0x01, 0x04, 0x04, 0x00}},
      {"run of three", 3, {0, 0, 0}, {0x08, 0x05, 0x00, 0x01, 0x08, 0x0C, 0x08, 0x00}},
      {"alternating",
       6,
       {0, 1, 0, 1, 0, 1},
       {0x08, 0x07, 0x00, 0x01, 0x04, 0x10, 0x28, 0x30, 0x20, 0x00}},
  };
  for (const auto& vector : vectors) {
    const Bytes gif = save(indexedBitmap(vector.width, 1, 256, vector.pixels));
    EXPECT_EQ(imageData(gif), vector.expected) << vector.name;
  }
}

// Reads LSB-first codes of the given widths from the concatenated sub-blocks.
class CodeCursor {
 public:
  explicit CodeCursor(const Bytes& blocks) {
    for (std::size_t at = 0; at < blocks.size() && blocks[at] != 0; at += blocks[at] + 1u) {
      data_.insert(data_.end(), blocks.begin() + static_cast<long>(at) + 1,
                   blocks.begin() + static_cast<long>(at) + 1 + blocks[at]);
    }
  }
  int read(int width) {
    int code = 0;
    for (int bit = 0; bit < width; ++bit, ++position_) {
      code |= ((data_.at(position_ / 8) >> (position_ % 8)) & 1) << bit;
    }
    return code;
  }

 private:
  Bytes data_;
  std::size_t position_ = 0;
};

// A sequence in which no two neighbouring pairs repeat, so every step misses
// the dictionary and each pixel emits exactly one code.
Bytes distinctPairs(std::size_t count) {
  Bytes sequence;
  for (int a = 0; a < 256 && sequence.size() < count; ++a) {
    for (int b = a + 1; b < 256 && sequence.size() < count; ++b) {
      sequence.push_back(static_cast<std::uint8_t>(a));
      sequence.push_back(static_cast<std::uint8_t>(b));
    }
  }
  return sequence;
}

TEST(GifLzw, WidensAfterEachPowerOfTwoAndClearsAtTableEnd) {
  // Pairs (a,b) with a<b, and the joins (b,a'), never repeat within 4,000 steps.
  const Bytes pixels = distinctPairs(4000);
  const Bytes data =
      imageData(save(indexedBitmap(static_cast<int>(pixels.size()), 1, 256, pixels)));
  ASSERT_EQ(data[0], 8);
  CodeCursor cursor(Bytes(data.begin() + 1, data.end()));
  EXPECT_EQ(cursor.read(9), 256);
  int nextFree = 258;
  int width = 9;
  for (std::size_t i = 0; i + 1 < pixels.size(); ++i) {
    ASSERT_EQ(cursor.read(width), pixels[i]) << "pixel " << i << " next free " << nextFree;
    if (nextFree >= 4095) {
      // The prefix and the clear code both still go out at 12 bits.
      ASSERT_EQ(width, 12);
      ASSERT_EQ(cursor.read(12), 256) << "pixel " << i;
      nextFree = 258;
      width = 9;
      continue;
    }
    // The code written while the next free code stood at 2^w is the last of width w.
    if (nextFree == (1 << width) && width < 12) ++width;
    ++nextFree;
  }
  EXPECT_EQ(cursor.read(width), pixels.back());
  EXPECT_EQ(cursor.read(width), 257);
}

TEST(GifLzw, RejectsIndexesOutsideTheTable) {
  const Bitmap bitmap = indexedBitmap(3, 1, 2, {0, 1, 2});
  TGIFImage image;
  image.assign(bitmap);
  EXPECT_THROW(
      {
        try {
          image.saveToMemory();
        } catch (const GIFException& error) {
          EXPECT_STREQ(error.what(), "Color not in color table");
          throw;
        }
      },
      GIFException);
}

TEST(GifWriter, PacksSubBlocks) {
  struct Case {
    int bytes;
    Bytes lengths;
  };
  const Case cases[] = {{0, {}}, {1, {1}}, {255, {255}}, {256, {255, 1}}, {511, {255, 255, 1}}};
  for (const auto& test : cases) {
    MemoryStream stream;
    TGIFWriter writer(stream);
    for (int i = 0; i < test.bytes; ++i) writer.put(static_cast<std::uint8_t>(i));
    writer.finish();
    Bytes lengths;
    const Bytes& out = stream.bytes();
    std::size_t at = 0;
    int value = 0;
    for (; at < out.size(); at += out[at] + 1u) {
      lengths.push_back(out[at]);
      for (int i = 1; i <= out[at]; ++i, ++value) {
        ASSERT_EQ(out[at + static_cast<std::size_t>(i)], static_cast<std::uint8_t>(value));
      }
    }
    EXPECT_EQ(at, out.size());
    EXPECT_EQ(lengths, test.lengths) << test.bytes << " bytes";
  }
}

TEST(GifImage, EmptyBitmapWritesFourteenBytes) {
  const Bytes expected = {'G', 'I', 'F', '8', '7', 'a', 0, 0, 0, 0, 0x77, 0, 0, 0x3B};
  TGIFImage image;
  image.assign(Bitmap());
  EXPECT_EQ(image.frames().size(), 1u);
  EXPECT_EQ(image.saveToMemory(), expected);
}

TEST(GifImage, ScreenshotLayout) {
  const Bytes gif = save(indexedBitmap(300, 2, 256, randomIndexes(600, 256, 1)));
  const Bytes head = {'G', 'I',  'F', '8', '7', 'a', 44, 1, 2, 0, 0x77, 0,
                      0,   0x2C, 0,   0,   0,   0,   44, 1, 2, 0, 0x87};
  EXPECT_EQ(Bytes(gif.begin(), gif.begin() + 23), head);
  // Table entry 7 of the palette, red-green-blue.
  EXPECT_EQ(Bytes(gif.begin() + 23 + 21, gif.begin() + 23 + 24), (Bytes{7, 248, 3}));
  EXPECT_EQ(gif[kImageDataOffset], 8);
  std::size_t at = kImageDataOffset + 1;
  while (gif.at(at) != 0) at += gif[at] + 1u;
  EXPECT_EQ(at + 2, gif.size());
  EXPECT_EQ(gif.back(), 0x3B);
}

TEST(GifImage, SmallTablesArePaddedAndUseMinimumCodeSizeTwo) {
  const Bytes gif = save(indexedBitmap(2, 1, 2, {0, 1}));
  const Bytes expected_start = {'G',  'I', 'F',  '8',  '7', 'a', 2, 0,   1, 0,
                                0x00, 0,   0,    0x2C, 0,   0,   0, 0,   2, 0,
                                1,    0,   0x80, 0,    255, 0,   1, 254, 0, 2};
  EXPECT_EQ(Bytes(gif.begin(), gif.begin() + 30), expected_start);

  // Three colours announce four entries; the fourth is written black.
  const Bytes three = save(indexedBitmap(1, 1, 3, {2}));
  EXPECT_EQ(three[10], 0x11);
  EXPECT_EQ(three[22], 0x81);
  EXPECT_EQ(Bytes(three.begin() + 23, three.begin() + 36),
            (Bytes{0, 255, 0, 1, 254, 0, 2, 253, 1, 0, 0, 0, 2}));
}

TEST(GifImage, SavingTwiceGivesIdenticalBytes) {
  TGIFImage image;
  image.assign(indexedBitmap(97, 61, 256, randomIndexes(97 * 61, 256, 2)));
  EXPECT_EQ(image.saveToMemory(), image.saveToMemory());
}

TEST(GifImage, ImportsPackedDepthsMostSignificantFirst) {
  Bitmap oneBit(10, 1, 1);
  oneBit.palette() = {{0, 0, 0, 0}, {255, 255, 255, 0}};
  oneBit.row(0)[0] = 0b10100000;
  oneBit.row(0)[1] = 0b01000000;
  Bitmap fourBit(3, 1, 4);
  fourBit.palette().resize(16);
  fourBit.row(0)[0] = 0x5A;
  fourBit.row(0)[1] = 0xC0;
  const struct {
    const Bitmap& bitmap;
    Bytes pixels;
  } cases[] = {{oneBit, {1, 0, 1, 0, 0, 0, 0, 0, 0, 1}}, {fourBit, {5, 10, 12}}};
  for (const auto& test : cases) {
    TGIFImage image;
    image.assign(test.bitmap);
    const auto pixels = image.frames().front()->pixels();
    EXPECT_EQ(Bytes(pixels.begin(), pixels.end()), test.pixels);
  }
}

TEST(GifImage, ImportFailures) {
  Bitmap wide(65536, 1, 8);
  Bitmap crowded(1, 1, 8);
  crowded.palette().resize(257);
  const struct {
    const Bitmap& bitmap;
    const char* message;
  } cases[] = {{wide, "Range check error"}, {crowded, "Color table overflow"}};
  for (const auto& test : cases) {
    TGIFImage image;
    try {
      image.assign(test.bitmap);
      ADD_FAILURE() << test.message;
    } catch (const GIFException& error) {
      EXPECT_STREQ(error.what(), test.message);
    }
  }
  TGIFImage none;
  EXPECT_THROW(none.saveToMemory(), GIFException);
}

struct Recorder : GifProgressReceiver {
  void onProgress(const void*, ProgressStage stage, int percent,
                  std::string_view message) override {
    events.push_back(std::to_string(stage) + ":" + std::to_string(percent) + ":" +
                     std::string(message));
  }
  std::vector<std::string> events;
};

TEST(GifImage, ReportsProgress) {
  Recorder recorder;
  TGIFImage image;
  image.setProgressReceiver(&recorder);
  image.assign(indexedBitmap(1, 70, 256, Bytes(70, 0)));
  image.saveToMemory();
  const std::vector<std::string> expected = {
      "0:0:Converting...",   "1:0:Converting...", "1:46:Converting...", "1:91:Converting...",
      "2:100:Converting...", "0:0:Saving...",     "1:100:Saving...",    "2:100:Saving..."};
  EXPECT_EQ(recorder.events, expected);

  recorder.events.clear();
  image.assign(indexedBitmap(1, 1, 1, {3}));
  recorder.events.clear();
  EXPECT_THROW(image.saveToMemory(), GIFException);
  EXPECT_EQ(recorder.events, (std::vector<std::string>{"0:0:Saving...", "2:0:Saving..."}));
}

}  // namespace
}  // namespace klipora::imaging::gif
