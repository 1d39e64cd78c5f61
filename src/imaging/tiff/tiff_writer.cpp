#include <cstdint>
#include <vector>

#include "base/error.h"
#include "imaging/byte_order.h"
#include "imaging/pixel_rows.h"
#include "imaging/tiff/tiff_file.h"

namespace klipora::imaging::tiff {
namespace {

constexpr char kSoftware[] = "QUILL-FABRIK";  // stored without its terminating zero
constexpr std::uint32_t kSoftwareLength = 12;
constexpr std::uint32_t kResolutionNumerator = 877;  // 87.7 pixels per inch
constexpr std::uint32_t kResolutionDenominator = 10;

enum Type : std::uint16_t { kAscii = 2, kShort = 3, kLong = 4, kRational = 5 };

void entry(LittleEndianBuffer& out, unsigned tag, Type type, std::uint32_t count,
           std::uint32_t value) {
  out.u16(tag);
  out.u16(type);
  out.u32(count);
  out.u32(value);  // a SHORT sits in the low half, the high half stays 0
}

int bitsOf(TTIFFFile::Layout layout) {
  switch (layout) {
    case TTIFFFile::Layout::indexed1:
      return 1;
    case TTIFFFile::Layout::indexed4:
      return 4;
    default:
      return 8;
  }
}

}  // namespace

void TTIFFFile::AssignBitmap(const Bitmap& bitmap) {
  bitmap_ = bitmap;
  byteOrder_ = 0x4949;
  version_ = 42;
  firstDirectory_ = 0;
  compression_ = 1;
  predictor_ = 1;
  switch (bitmap.bitsPerPixel()) {
    case 1:
      layout_ = Layout::indexed1;
      break;
    case 4:
      layout_ = Layout::indexed4;
      break;
    case 8:
      layout_ = Layout::indexed8;
      break;
    default:
      layout_ = Layout::rgb;
      break;
  }
  if (layout_ == Layout::rgb) {
    samplesPerPixel_ = 3;
    bitsPerSample_ = {8, 8, 8};
    photometric_ = 2;
  } else {
    samplesPerPixel_ = 1;
    bitsPerSample_ = {bitsOf(layout_)};
    // Palette colour for every indexed depth: a 1-bit file then shows its
    // own two colours, whatever they are.
    photometric_ = 3;
  }
}

void TTIFFFile::SaveToStream(OutputStream& stream) const {
  if (bitmap_.empty()) return;
  const std::uint32_t width = static_cast<std::uint32_t>(bitmap_.width());
  const std::uint32_t height = static_cast<std::uint32_t>(bitmap_.height());
  const bool rgb = layout_ == Layout::rgb;
  const int bits = bitsOf(layout_);
  // Whole rows, each padded to full bytes: no column of the source is lost.
  const std::uint64_t rowBytes = rgb ? 3ull * width : (std::uint64_t{width} * bits + 7) / 8;
  const std::uint64_t stripBytes = rowBytes * height;
  const std::uint32_t colours = rgb ? 0 : 1u << bits;
  // ImageWidth and ImageLength are SHORT fields and every offset 32 bits:
  // refuse what they cannot describe rather than write a broken file.
  if (width > 0xFFFF || height > 0xFFFF || stripBytes + 4096 > 0xFFFFFFFFull) {
    throw Error("TIFF: Image too large");
  }

  const std::uint64_t base = stream.position();
  LittleEndianBuffer head;
  head.u16(0x4949);
  head.u16(42);
  head.u32(0);  // directory offset, patched last
  const std::uint32_t xResolutionAt = head.size();
  head.u32(kResolutionNumerator);
  head.u32(kResolutionDenominator);
  const std::uint32_t yResolutionAt = head.size();
  head.u32(kResolutionNumerator);
  head.u32(kResolutionDenominator);
  const std::uint32_t bitsAt = head.size();
  if (rgb) {
    head.u16(8);
    head.u16(8);
    head.u16(8);
  } else {
    head.u32(static_cast<std::uint32_t>(bits));
  }
  const std::uint32_t softwareAt = head.size();
  head.bytes(kSoftware, kSoftwareLength);
  const std::uint32_t colourMapAt = head.size();
  if (!rgb) {
    const Palette& palette = bitmap_.palette();
    // 8-bit maps are scaled by 256, the smaller ones by 257; undefined
    // entries are black.
    const unsigned scale = bits == 8 ? 256 : 257;
    for (int component = 0; component < 3; ++component) {
      for (std::uint32_t i = 0; i < colours; ++i) {
        unsigned value = 0;
        if (i < palette.size()) {
          const PaletteEntry& entry = palette[i];
          value = component == 0 ? entry.red : component == 1 ? entry.green : entry.blue;
        }
        head.u16(value * scale);
      }
    }
  }
  const std::uint32_t stripAt = head.size();
  stream.write(head.data().data(), head.size());

  if (rgb) {
    std::vector<std::uint8_t> row(rowBytes);
    for (int y = 0; y < bitmap_.height(); ++y) {
      readRgb24Row(bitmap_, y, row.data());
      stream.write(row.data(), row.size());
    }
  } else {
    for (int y = 0; y < bitmap_.height(); ++y) stream.write(bitmap_.row(y), rowBytes);
  }

  const std::uint32_t directoryAt = stripAt + static_cast<std::uint32_t>(stripBytes);
  LittleEndianBuffer directory;
  directory.u16(15);
  entry(directory, 254, kLong, 1, 0);
  entry(directory, 256, kShort, 1, width);
  entry(directory, 257, kShort, 1, height);
  if (rgb) {
    entry(directory, 258, kShort, 3, bitsAt);
  } else {
    entry(directory, 258, kShort, 1, static_cast<std::uint32_t>(bits));
  }
  entry(directory, 259, kShort, 1, 1);
  entry(directory, 262, kShort, 1, static_cast<std::uint32_t>(photometric_));
  entry(directory, 273, kLong, 1, stripAt);
  entry(directory, 277, kShort, 1, rgb ? 3 : 1);
  entry(directory, 278, kLong, 1, height);
  entry(directory, 279, kLong, 1, static_cast<std::uint32_t>(stripBytes));
  entry(directory, 282, kRational, 1, xResolutionAt);
  entry(directory, 283, kRational, 1, yResolutionAt);
  if (rgb) entry(directory, 284, kShort, 1, 1);
  entry(directory, 296, kShort, 1, 2);
  entry(directory, 305, kAscii, kSoftwareLength, softwareAt);
  if (!rgb) entry(directory, 320, kShort, 3 * colours, colourMapAt);
  directory.u32(0);
  stream.write(directory.data().data(), directory.size());

  const std::uint64_t end = stream.position();
  LittleEndianBuffer offset;
  offset.u32(directoryAt);
  stream.seek(base + 4);
  stream.write(offset.data().data(), offset.size());
  stream.seek(end);
}

void TTIFFFile::SaveToFile(const std::string& path) const {
  FileStream file(path);
  try {
    SaveToStream(file);
    file.close();
  } catch (...) {
    file.discard();
    throw;
  }
}

}  // namespace klipora::imaging::tiff
