#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <vector>

#include "base/error.h"
#include "imaging/tiff/tiff_decompress.h"
#include "imaging/tiff/tiff_file.h"

namespace klipora::imaging::tiff {
namespace {

constexpr const char* kNotTiff = "TIFF: Not a TIFF file";
constexpr const char* kCorrupt = "TIFF: Corrupt file";
// A screenshot viewer has no use for more; it also keeps a hostile header
// from asking for gigabytes.
constexpr std::uint64_t kMaxPixels = std::uint64_t{1} << 26;
// RGB or CMYK with an alpha and one more extra sample at most.
constexpr int kMaxSamples = 6;

enum Tag : std::uint16_t {
  kImageWidth = 256,
  kImageLength = 257,
  kBitsPerSample = 258,
  kCompression = 259,
  kPhotometric = 262,
  kStripOffsets = 273,
  kSamplesPerPixel = 277,
  kRowsPerStrip = 278,
  kStripByteCounts = 279,
  kPlanarConfiguration = 284,
  kPredictor = 317,
  kColorMap = 320,
  kTileWidth = 322,
  kExtraSamples = 338,
};

enum Photometric {
  kWhiteIsZero = 0,
  kBlackIsZero = 1,
  kRgb = 2,
  kPalette = 3,
  kCmyk = 5,
  kCieLab = 8
};
enum Compression { kNone = 1, kLzw = 5, kPackBits = 32773 };

struct Field {
  std::uint16_t type = 0;
  std::uint32_t count = 0;
  std::uint64_t at = 0;  // where the values start
};

class Input {
 public:
  explicit Input(std::span<const std::uint8_t> data) : data_(data) {
    if (data.size() < 8) throw Error(kNotTiff);
    if (data[0] == 'I' && data[1] == 'I') {
      big_ = false;
    } else if (data[0] == 'M' && data[1] == 'M') {
      big_ = true;
    } else {
      throw Error(kNotTiff);
    }
  }

  bool bigEndian() const { return big_; }
  std::uint64_t size() const { return data_.size(); }

  void need(std::uint64_t at, std::uint64_t length) const {
    if (at > data_.size() || length > data_.size() - at) throw Error(kCorrupt);
  }
  std::uint16_t u16(std::uint64_t at) const {
    need(at, 2);
    const std::uint8_t* p = data_.data() + at;
    return static_cast<std::uint16_t>(big_ ? (p[0] << 8) | p[1] : (p[1] << 8) | p[0]);
  }
  std::uint32_t u32(std::uint64_t at) const {
    const std::uint32_t a = u16(at);
    const std::uint32_t b = u16(at + 2);
    return big_ ? (a << 16) | b : (b << 16) | a;
  }
  std::span<const std::uint8_t> bytes(std::uint64_t at, std::uint64_t length) const {
    need(at, length);
    return data_.subspan(static_cast<std::size_t>(at), static_cast<std::size_t>(length));
  }

 private:
  std::span<const std::uint8_t> data_;
  bool big_ = false;
};

unsigned typeSize(std::uint16_t type) {
  switch (type) {
    case 1:
    case 2:
    case 6:
    case 7:
      return 1;
    case 3:
    case 8:
      return 2;
    case 4:
    case 9:
    case 11:
      return 4;
    case 5:
    case 10:
    case 12:
      return 8;
    default:
      return 0;
  }
}

class Directory {
 public:
  Directory(const Input& input, std::uint64_t at) : input_(input) {
    const unsigned count = input.u16(at);
    input.need(at + 2, 12ull * count);
    for (unsigned i = 0; i < count; ++i) {
      const std::uint64_t entry = at + 2 + 12ull * i;
      Field field;
      field.type = input.u16(entry + 2);
      field.count = input.u32(entry + 4);
      const unsigned size = typeSize(field.type);
      if (size == 0) continue;  // unknown types are skipped, as TIFF allows
      const std::uint64_t length = std::uint64_t{size} * field.count;
      field.at = length <= 4 ? entry + 8 : input.u32(entry + 8);
      fields_.emplace(input.u16(entry), field);
    }
  }

  bool has(std::uint16_t tag) const { return fields_.contains(tag); }

  // Integer values of a BYTE, SHORT or LONG field; empty when it is absent.
  std::vector<std::uint32_t> values(std::uint16_t tag) const {
    const auto found = fields_.find(tag);
    if (found == fields_.end()) return {};
    const Field& field = found->second;
    const unsigned size = typeSize(field.type);
    if (field.type == 2 || size > 4 || field.type == 11) throw Error(kCorrupt);
    input_.need(field.at, std::uint64_t{size} * field.count);
    std::vector<std::uint32_t> out(field.count);
    for (std::uint32_t i = 0; i < field.count; ++i) {
      const std::uint64_t at = field.at + std::uint64_t{size} * i;
      out[i] = size == 1 ? input_.bytes(at, 1)[0] : size == 2 ? input_.u16(at) : input_.u32(at);
    }
    return out;
  }

  std::uint32_t value(std::uint16_t tag, std::uint32_t fallback) const {
    const auto all = values(tag);
    return all.empty() ? fallback : all.front();
  }

 private:
  const Input& input_;
  std::map<std::uint16_t, Field> fields_;
};

// How the samples of one decoded row become bitmap pixels.
enum class Mapping { indexed, gray16, palette16, rgb, cmyk, lab };

struct Format {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  int samples = 1;
  int bits = 1;
  int photometric = kBlackIsZero;
  Mapping mapping = Mapping::indexed;
  int depth = 8;
  bool bigEndian = false;
  std::uint64_t rowBytes = 0;
};

std::uint8_t sample8(const Format& format, const std::uint8_t* row, std::size_t index) {
  if (format.bits == 8) return row[index];
  return format.bigEndian ? row[2 * index] : row[2 * index + 1];  // the high byte
}

void undoPredictor(const Format& format, std::uint8_t* row) {
  const std::size_t count = std::size_t{format.width} * format.samples;
  const auto step = static_cast<std::size_t>(format.samples);
  if (format.bits == 8) {
    for (std::size_t i = step; i < count; ++i)
      row[i] = static_cast<std::uint8_t>(row[i] + row[i - step]);
    return;
  }
  const auto get = [&](std::size_t i) -> unsigned {
    return format.bigEndian ? (row[2 * i] << 8) | row[2 * i + 1]
                            : (row[2 * i + 1] << 8) | row[2 * i];
  };
  for (std::size_t i = step; i < count; ++i) {
    const unsigned value = (get(i) + get(i - step)) & 0xFFFF;
    row[2 * i + (format.bigEndian ? 0 : 1)] = static_cast<std::uint8_t>(value >> 8);
    row[2 * i + (format.bigEndian ? 1 : 0)] = static_cast<std::uint8_t>(value);
  }
}

std::uint8_t clampByte(double value) {
  return static_cast<std::uint8_t>(std::lround(std::clamp(value, 0.0, 255.0)));
}

// CIE L*a*b* (D65 white) to sRGB.
void labToBgr(std::uint8_t l8, std::int8_t a, std::int8_t b, std::uint8_t* out) {
  const double l = l8 * 100.0 / 255.0;
  const double fy = (l + 16.0) / 116.0;
  const double fx = fy + a / 500.0;
  const double fz = fy - b / 200.0;
  const auto inverse = [](double f) {
    return f > 6.0 / 29.0 ? f * f * f : 3 * (6.0 / 29.0) * (6.0 / 29.0) * (f - 4.0 / 29.0);
  };
  const double x = 0.95047 * inverse(fx);
  const double y = inverse(fy);
  const double z = 1.08883 * inverse(fz);
  const double linear[3] = {3.2406 * x - 1.5372 * y - 0.4986 * z,
                            -0.9689 * x + 1.8758 * y + 0.0415 * z,
                            0.0557 * x - 0.2040 * y + 1.0570 * z};
  for (int i = 0; i < 3; ++i) {
    const double c = std::clamp(linear[i], 0.0, 1.0);
    const double encoded = c <= 0.0031308 ? 12.92 * c : 1.055 * std::pow(c, 1 / 2.4) - 0.055;
    out[2 - i] = clampByte(encoded * 255.0);
  }
}

Format readFormat(const Directory& dir, const Input& input) {
  Format format;
  format.bigEndian = input.bigEndian();
  format.width = dir.value(kImageWidth, 0);
  format.height = dir.value(kImageLength, 0);
  if (format.width == 0 || format.height == 0) throw Error("TIFF: Illegal image dimensions");
  if (std::uint64_t{format.width} * format.height > kMaxPixels)
    throw Error("TIFF: Image too large");

  format.samples = static_cast<int>(dir.value(kSamplesPerPixel, 1));
  const auto bits = dir.values(kBitsPerSample);
  format.bits = bits.empty() ? 1 : static_cast<int>(bits.front());
  for (const auto b : bits) {
    if (static_cast<int>(b) != format.bits) throw Error("TIFF: Unsupported Bits Per Sample");
  }
  const bool single = format.samples == 1;
  const bool bitsOk =
      single ? (format.bits == 1 || format.bits == 4 || format.bits == 8 || format.bits == 16)
             : (format.bits == 8 || format.bits == 16);
  if (format.samples < 1 || format.samples > kMaxSamples || !bitsOk)
    throw Error("TIFF: Unsupported Bits Per Sample");

  format.photometric = static_cast<int>(dir.value(kPhotometric, single ? kBlackIsZero : kRgb));
  switch (format.photometric) {
    case kWhiteIsZero:
    case kBlackIsZero:
      if (!single) throw Error("TIFF: Unsupported photometric interpretation");
      format.mapping = format.bits == 16 ? Mapping::gray16 : Mapping::indexed;
      format.depth = format.bits == 16 ? 8 : format.bits;
      break;
    case kPalette:
      if (!single) throw Error("TIFF: Unsupported photometric interpretation");
      format.mapping = format.bits == 16 ? Mapping::palette16 : Mapping::indexed;
      format.depth = format.bits == 16 ? 24 : format.bits;
      break;
    case kRgb:
      if (format.samples < 3) throw Error("TIFF: Unsupported photometric interpretation");
      format.mapping = Mapping::rgb;
      format.depth = format.samples > 3 ? 32 : 24;
      break;
    case kCmyk:
      if (format.samples < 4) throw Error("TIFF: Unsupported photometric interpretation");
      format.mapping = Mapping::cmyk;
      format.depth = 24;
      break;
    case kCieLab:
      if (format.samples < 3) throw Error("TIFF: Unsupported photometric interpretation");
      format.mapping = Mapping::lab;
      format.depth = 24;
      break;
    default:
      throw Error("TIFF: Unsupported photometric interpretation");
  }
  format.rowBytes = (std::uint64_t{format.width} * format.samples * format.bits + 7) / 8;
  return format;
}

Palette readPalette(const Directory& dir, const Format& format) {
  const std::size_t entries = std::size_t{1} << format.bits;
  Palette palette(format.mapping == Mapping::palette16 ? 0 : entries);
  if (format.photometric == kPalette) {
    const auto map = dir.values(kColorMap);
    if (map.size() < 3 * entries) throw Error(kCorrupt);
    palette.resize(entries);
    for (std::size_t i = 0; i < entries; ++i) {
      palette[i].red = static_cast<std::uint8_t>(map[i] >> 8);
      palette[i].green = static_cast<std::uint8_t>(map[entries + i] >> 8);
      palette[i].blue = static_cast<std::uint8_t>(map[2 * entries + i] >> 8);
    }
    return palette;
  }
  const std::size_t levels = format.bits == 16 ? 256 : entries;
  palette.resize(levels);
  for (std::size_t i = 0; i < levels; ++i) {
    auto grey = static_cast<std::uint8_t>(i * 255 / (levels - 1));
    if (format.photometric == kWhiteIsZero) grey = static_cast<std::uint8_t>(255 - grey);
    palette[i] = {grey, grey, grey, 0};
  }
  return palette;
}

void convertRow(const Format& format, const Palette& palette, const std::uint8_t* in,
                std::uint8_t* out) {
  const std::uint32_t width = format.width;
  const auto samples = static_cast<std::size_t>(format.samples);
  switch (format.mapping) {
    case Mapping::indexed:
      std::memcpy(out, in, static_cast<std::size_t>(format.rowBytes));
      break;
    case Mapping::gray16:
      for (std::uint32_t x = 0; x < width; ++x) out[x] = sample8(format, in, x);
      break;
    case Mapping::palette16:
      for (std::uint32_t x = 0; x < width; ++x, out += 3) {
        const unsigned index =
            format.bigEndian ? (in[2 * x] << 8) | in[2 * x + 1] : (in[2 * x + 1] << 8) | in[2 * x];
        const PaletteEntry& entry = palette[index];
        out[0] = entry.blue;
        out[1] = entry.green;
        out[2] = entry.red;
      }
      break;
    case Mapping::rgb: {
      const int step = format.depth / 8;
      for (std::uint32_t x = 0; x < width; ++x, out += step) {
        const std::size_t s = x * samples;
        out[0] = sample8(format, in, s + 2);
        out[1] = sample8(format, in, s + 1);
        out[2] = sample8(format, in, s);
        if (step == 4) out[3] = sample8(format, in, s + 3);
      }
      break;
    }
    case Mapping::cmyk:
      for (std::uint32_t x = 0; x < width; ++x, out += 3) {
        const std::size_t s = x * samples;
        const unsigned white = 255u - sample8(format, in, s + 3);
        for (int i = 0; i < 3; ++i) {
          out[2 - i] =
              static_cast<std::uint8_t>((255u - sample8(format, in, s + i)) * white / 255u);
        }
      }
      break;
    case Mapping::lab:
      for (std::uint32_t x = 0; x < width; ++x, out += 3) {
        const std::size_t s = x * samples;
        labToBgr(sample8(format, in, s), static_cast<std::int8_t>(sample8(format, in, s + 1)),
                 static_cast<std::int8_t>(sample8(format, in, s + 2)), out);
      }
      break;
  }
}

// The largest output a compressed byte may stand for; bounds what a small
// hostile file can make the reader allocate.
std::uint64_t maxExpansion(int compression) {
  switch (compression) {
    case kPackBits:
      return 64;
    case kLzw:
      return 4096;
    default:
      return 1;
  }
}

}  // namespace

void TTIFFFile::LoadFromStream(std::span<const std::uint8_t> data) {
  const Input input(data);
  byteOrder_ = input.bigEndian() ? 0x4D4D : 0x4949;
  version_ = input.u16(2);
  if (version_ != 42) throw Error("TIFF: Unsupported version");
  firstDirectory_ = input.u32(4);
  const Directory dir(input, firstDirectory_);

  const Format format = readFormat(dir, input);
  samplesPerPixel_ = format.samples;
  bitsPerSample_.assign(static_cast<std::size_t>(format.samples), format.bits);
  photometric_ = format.photometric;
  compression_ = static_cast<int>(dir.value(kCompression, kNone));
  if (compression_ != kNone && compression_ != kLzw && compression_ != kPackBits) {
    throw Error("TIFF: Unsupported compression scheme");
  }
  predictor_ = static_cast<int>(dir.value(kPredictor, 1));
  if (predictor_ != 1 && (predictor_ != 2 || format.bits < 8))
    throw Error("TIFF: Unsupported predictor");
  if (format.samples > 1 && dir.value(kPlanarConfiguration, 1) != 1) {
    throw Error("TIFF: Unsupported planar configuration");
  }
  if (dir.has(kTileWidth)) throw Error("TIFF: Tiled images are not supported");

  std::uint32_t rowsPerStrip = dir.value(kRowsPerStrip, format.height);
  if (rowsPerStrip == 0 || rowsPerStrip > format.height) rowsPerStrip = format.height;
  const std::uint32_t strips = (format.height + rowsPerStrip - 1) / rowsPerStrip;
  const auto offsets = dir.values(kStripOffsets);
  auto counts = dir.values(kStripByteCounts);
  if (counts.empty() && compression_ == kNone) {
    counts.assign(strips, static_cast<std::uint32_t>(
                              std::min<std::uint64_t>(format.rowBytes * rowsPerStrip, 0xFFFFFFFF)));
  }
  if (offsets.size() < strips || counts.size() < strips) throw Error(kCorrupt);
  std::uint64_t available = 0;
  for (std::uint32_t i = 0; i < strips; ++i) {
    input.need(offsets[i], counts[i]);
    available += counts[i];
  }
  if (format.rowBytes * format.height > available * maxExpansion(compression_))
    throw Error(kCorrupt);

  Bitmap bitmap(static_cast<int>(format.width), static_cast<int>(format.height), format.depth);
  const bool paletted = format.mapping == Mapping::indexed || format.mapping == Mapping::gray16 ||
                        format.mapping == Mapping::palette16;
  Palette palette = paletted ? readPalette(dir, format) : Palette{};
  std::vector<std::uint8_t> strip;
  for (std::uint32_t i = 0; i < strips; ++i) {
    const std::uint32_t first = i * rowsPerStrip;
    const std::uint32_t rows = std::min(rowsPerStrip, format.height - first);
    strip.assign(static_cast<std::size_t>(format.rowBytes * rows), 0);
    const auto in = input.bytes(offsets[i], counts[i]);
    if (compression_ == kLzw) {
      decodeLzw(in, strip);
    } else if (compression_ == kPackBits) {
      decodePackBits(in, strip);
    } else {
      if (in.size() < strip.size()) throw Error(kCorrupt);
      std::memcpy(strip.data(), in.data(), strip.size());
    }
    for (std::uint32_t r = 0; r < rows; ++r) {
      std::uint8_t* row = strip.data() + format.rowBytes * r;
      if (predictor_ == 2) undoPredictor(format, row);
      convertRow(format, palette, row, bitmap.row(static_cast<int>(first + r)));
    }
  }
  if (format.mapping == Mapping::indexed || format.mapping == Mapping::gray16) {
    bitmap.palette() = std::move(palette);
  }
  bitmap_ = std::move(bitmap);
  layout_ = format.mapping == Mapping::indexed
                ? (format.bits == 1   ? Layout::indexed1
                   : format.bits == 4 ? Layout::indexed4
                                      : Layout::indexed8)
                : (format.mapping == Mapping::gray16 ? Layout::indexed8 : Layout::rgb);
}

}  // namespace klipora::imaging::tiff
