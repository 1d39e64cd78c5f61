#include <gtest/gtest.h>

#include <string>

#include "base/error.h"
#include "imaging/tiff/tiff_decompress.h"
#include "imaging/tiff/tiff_file.h"

namespace klipora::imaging::tiff {
namespace {

// Builds a one-strip TIFF in either byte order; values of more than 4 bytes
// go after the strip.
class TiffBuilder {
 public:
  explicit TiffBuilder(bool bigEndian = false) : big_(bigEndian) {}

  TiffBuilder& field(unsigned tag, unsigned type, std::vector<std::uint32_t> values) {
    fields_.push_back({tag, type, std::move(values)});
    return *this;
  }
  TiffBuilder& shorts(unsigned tag, std::vector<std::uint32_t> values) {
    return field(tag, 3, std::move(values));
  }
  TiffBuilder& image(unsigned width, unsigned height, std::vector<std::uint32_t> bits,
                     unsigned photometric) {
    shorts(256, {width})
        .shorts(257, {height})
        .shorts(258, std::move(bits))
        .shorts(262, {photometric});
    return *this;
  }
  TiffBuilder& strip(std::vector<std::uint8_t> data) {
    strip_ = std::move(data);
    return *this;
  }
  TiffBuilder& version(unsigned value) {
    version_ = value;
    return *this;
  }

  std::vector<std::uint8_t> build() {
    out_.clear();
    put(big_ ? 0x4D4D : 0x4949, 2);
    put(version_, 2);
    put(0, 4);
    const std::uint32_t stripAt = 8;
    out_.insert(out_.end(), strip_.begin(), strip_.end());
    auto fields = fields_;
    fields.push_back({273, 4, {stripAt}});
    fields.push_back({279, 4, {static_cast<std::uint32_t>(strip_.size())}});
    std::sort(fields.begin(), fields.end(),
              [](const Field& a, const Field& b) { return a.tag < b.tag; });
    std::vector<std::uint32_t> outside(fields.size(), 0);
    for (std::size_t i = 0; i < fields.size(); ++i) {
      if (fields[i].values.size() * size(fields[i].type) > 4) {
        outside[i] = static_cast<std::uint32_t>(out_.size());
        for (auto v : fields[i].values) put(v, size(fields[i].type));
      }
    }
    const auto directory = static_cast<std::uint32_t>(out_.size());
    patch(4, directory);
    put(fields.size(), 2);
    for (std::size_t i = 0; i < fields.size(); ++i) {
      const Field& f = fields[i];
      put(f.tag, 2);
      put(f.type, 2);
      put(f.values.size(), 4);
      if (outside[i] != 0) {
        put(outside[i], 4);
      } else {
        std::size_t used = 0;
        for (auto v : f.values) {
          put(v, size(f.type));
          used += size(f.type);
        }
        put(0, 4 - used);
      }
    }
    put(0, 4);
    return out_;
  }

 private:
  struct Field {
    unsigned tag;
    unsigned type;
    std::vector<std::uint32_t> values;
  };
  static unsigned size(unsigned type) { return type == 3 ? 2 : type == 4 ? 4 : 1; }
  void put(std::uint64_t value, std::size_t bytes) {
    for (std::size_t i = 0; i < bytes; ++i) {
      const std::size_t shift = 8 * (big_ ? bytes - 1 - i : i);
      out_.push_back(static_cast<std::uint8_t>(value >> shift));
    }
  }
  void patch(std::size_t at, std::uint32_t value) {
    for (std::size_t i = 0; i < 4; ++i)
      out_[at + i] = static_cast<std::uint8_t>(value >> (8 * (big_ ? 3 - i : i)));
  }

  bool big_;
  unsigned version_ = 42;
  std::vector<Field> fields_;
  std::vector<std::uint8_t> strip_;
  std::vector<std::uint8_t> out_;
};

// LZW codes packed most significant bit first at the given widths.
std::vector<std::uint8_t> packCodes(const std::vector<std::pair<unsigned, unsigned>>& codes) {
  std::vector<std::uint8_t> out;
  std::uint32_t buffer = 0;
  unsigned count = 0;
  for (const auto& [code, width] : codes) {
    buffer = (buffer << width) | code;
    count += width;
    while (count >= 8) {
      count -= 8;
      out.push_back(static_cast<std::uint8_t>(buffer >> count));
    }
  }
  if (count > 0) out.push_back(static_cast<std::uint8_t>(buffer << (8 - count)));
  return out;
}

Bitmap load(const std::vector<std::uint8_t>& file) {
  TTIFFFile tiff;
  tiff.LoadFromStream(file);
  return tiff.takeBitmap();
}

std::vector<std::uint8_t> rowBytes(const Bitmap& bitmap, int y, std::size_t count) {
  return {bitmap.row(y), bitmap.row(y) + count};
}

TEST(TiffReader, BigEndianRgbWithPredictor) {
  // Two pixels (10, 20, 30) and (15, 25, 35), the second stored as differences.
  const auto file = TiffBuilder(true)
                        .image(2, 1, {8, 8, 8}, 2)
                        .shorts(277, {3})
                        .shorts(317, {2})
                        .strip({10, 20, 30, 5, 5, 5})
                        .build();
  TTIFFFile tiff;
  tiff.LoadFromStream(file);
  EXPECT_EQ(tiff.byteOrder(), 0x4D4Du);
  EXPECT_EQ(tiff.predictor(), 2);
  EXPECT_EQ(tiff.bitmap().bitsPerPixel(), 24);
  EXPECT_EQ(rowBytes(tiff.bitmap(), 0, 6), (std::vector<std::uint8_t>{30, 20, 10, 35, 25, 15}));
}

TEST(TiffReader, LzwWithKwKwKCode) {
  // "AAAAAB": A, then new code 258 ("AA") used before it is complete, ...
  const auto data = packCodes({{256, 9}, {'A', 9}, {258, 9}, {258, 9}, {'B', 9}, {257, 9}});
  std::vector<std::uint8_t> out(6);
  EXPECT_EQ(decodeLzw(data, out), 6u);
  EXPECT_EQ(std::string(out.begin(), out.end()), "AAAAAB");

  const auto file = TiffBuilder().image(6, 1, {8}, 1).shorts(259, {5}).strip(data).build();
  const Bitmap grey = load(file);
  EXPECT_EQ(rowBytes(grey, 0, 6), (std::vector<std::uint8_t>{'A', 'A', 'A', 'A', 'A', 'B'}));
  EXPECT_EQ(grey.palette()[200], (PaletteEntry{200, 200, 200, 0}));
}

TEST(TiffReader, LzwCodeWidthGrowsOneCodeEarly) {
  // 253 literals after the first fill the table up to 510 -> next code is 10 bits wide.
  std::vector<std::pair<unsigned, unsigned>> codes = {{256, 9}};
  std::string expected;
  for (unsigned i = 0; i < 254; ++i) {
    codes.push_back({i, 9});
    expected += static_cast<char>(i);
  }
  codes.push_back({'x', 10});
  codes.push_back({257, 10});
  expected += 'x';
  std::vector<std::uint8_t> out(expected.size());
  EXPECT_EQ(decodeLzw(packCodes(codes), out), expected.size());
  EXPECT_EQ(std::string(out.begin(), out.end()), expected);
}

TEST(TiffReader, PackBitsPaletteAndWhiteIsZero) {
  // Literal run of 2, then 0xAB repeated 3 times.
  const std::vector<std::uint8_t> packed = {1, 0x12, 0x34, 0xFE, 0xAB};
  std::vector<std::uint32_t> map(3 * 16, 0);
  map[1] = 0xFF00;  // red of entry 1
  const Bitmap palette = load(TiffBuilder()
                                  .image(10, 1, {4}, 3)
                                  .shorts(259, {32773})
                                  .shorts(320, map)
                                  .strip(packed)
                                  .build());
  EXPECT_EQ(palette.bitsPerPixel(), 4);
  EXPECT_EQ(rowBytes(palette, 0, 5), (std::vector<std::uint8_t>{0x12, 0x34, 0xAB, 0xAB, 0xAB}));
  EXPECT_EQ(palette.palette()[1], (PaletteEntry{255, 0, 0, 0}));

  const Bitmap white = load(TiffBuilder().image(8, 1, {1}, 0).strip({0x0F}).build());
  EXPECT_EQ(white.palette()[0], (PaletteEntry{255, 255, 255, 0}));
  EXPECT_EQ(white.palette()[1], (PaletteEntry{0, 0, 0, 0}));
}

TEST(TiffReader, WideSamplesAndOtherColourSpaces) {
  // 16-bit grey little-endian: the high byte counts.
  const Bitmap grey16 =
      load(TiffBuilder().image(2, 1, {16}, 1).strip({0x34, 0x12, 0xFF, 0xAB}).build());
  EXPECT_EQ(grey16.bitsPerPixel(), 8);
  EXPECT_EQ(rowBytes(grey16, 0, 2), (std::vector<std::uint8_t>{0x12, 0xAB}));

  const Bitmap rgba = load(TiffBuilder()
                               .image(1, 1, {8, 8, 8, 8}, 2)
                               .shorts(277, {4})
                               .shorts(338, {2})
                               .strip({1, 2, 3, 4})
                               .build());
  EXPECT_EQ(rgba.bitsPerPixel(), 32);
  EXPECT_EQ(rowBytes(rgba, 0, 4), (std::vector<std::uint8_t>{3, 2, 1, 4}));

  const Bitmap cmyk = load(TiffBuilder()
                               .image(2, 1, {8, 8, 8, 8}, 5)
                               .shorts(277, {4})
                               .strip({255, 0, 0, 0, 0, 0, 0, 255})
                               .build());
  EXPECT_EQ(rowBytes(cmyk, 0, 6), (std::vector<std::uint8_t>{255, 255, 0, 0, 0, 0}));

  // L* 100 with a* = b* = 0 is white, L* 0 black.
  const Bitmap lab = load(
      TiffBuilder().image(2, 1, {8, 8, 8}, 8).shorts(277, {3}).strip({255, 0, 0, 0, 0, 0}).build());
  EXPECT_EQ(rowBytes(lab, 0, 6), (std::vector<std::uint8_t>{255, 255, 255, 0, 0, 0}));
}

TEST(TiffReader, BadInputGivesCleanErrors) {
  const auto good = [] { return TiffBuilder().image(2, 2, {8}, 1); };
  const std::vector<std::uint8_t> four = {1, 2, 3, 4};
  struct Case {
    const char* name;
    std::vector<std::uint8_t> file;
    const char* message;
  };
  std::vector<Case> cases = {
      {"version", good().strip(four).version(43).build(), "TIFF: Unsupported version"},
      {"zero width", TiffBuilder().image(0, 2, {8}, 1).strip(four).build(),
       "TIFF: Illegal image dimensions"},
      {"2-bit samples", TiffBuilder().image(8, 1, {2}, 1).strip(four).build(),
       "TIFF: Unsupported Bits Per Sample"},
      {"mixed samples",
       TiffBuilder().image(1, 1, {8, 16, 8}, 2).shorts(277, {3}).strip(four).build(),
       "TIFF: Unsupported Bits Per Sample"},
      {"YCbCr", TiffBuilder().image(1, 1, {8, 8, 8}, 6).shorts(277, {3}).strip(four).build(),
       "TIFF: Unsupported photometric interpretation"},
      {"JPEG", good().shorts(259, {7}).strip(four).build(), "TIFF: Unsupported compression scheme"},
      {"LZW code beyond the table",
       good().shorts(259, {5}).strip(packCodes({{256, 9}, {'A', 9}, {300, 9}})).build(),
       "TIF LZW: invalid opcode."},
      {"LZW starts with a table code",
       good().shorts(259, {5}).strip(packCodes({{256, 9}, {258, 9}})).build(),
       "TIF LZW: invalid opcode."},
      {"short strip", good().strip({1, 2, 3}).build(), "TIFF: Corrupt file"},
      {"palette without map", TiffBuilder().image(2, 2, {8}, 3).strip(four).build(),
       "TIFF: Corrupt file"},
      {"not a TIFF", {'G', 'I', 'F', '8', '9', 'a', 0, 0}, "TIFF: Not a TIFF file"},
      {"too short", {'I', 'I', 42}, "TIFF: Not a TIFF file"},
      {"huge image from a tiny strip",
       TiffBuilder().image(60000, 60000, {8}, 1).shorts(259, {5}).strip(four).build(),
       "TIFF: Image too large"},
      {"large image from a tiny LZW strip",
       TiffBuilder().image(5000, 5000, {8}, 1).shorts(259, {5}).strip(four).build(),
       "TIFF: Corrupt file"},
  };
  auto beyond = good().strip(four).build();
  beyond[4] = 0xF0;  // directory offset far beyond the end
  cases.push_back({"directory beyond the end", beyond, "TIFF: Corrupt file"});
  auto manyEntries = good().strip(four).build();
  manyEntries[manyEntries[4]] = 0xFF;  // entry count larger than the file
  manyEntries[manyEntries[4] + 1] = 0xFF;
  cases.push_back({"entry count beyond the end", manyEntries, "TIFF: Corrupt file"});

  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TTIFFFile tiff;
    try {
      tiff.LoadFromStream(c.file);
      ADD_FAILURE() << "no error";
    } catch (const Error& error) {
      EXPECT_STREQ(error.what(), c.message);
    }
  }
}

}  // namespace
}  // namespace klipora::imaging::tiff
