#include "imaging/gif/gif_image.h"

#include <algorithm>
#include <cstddef>
#include <fstream>
#include <istream>
#include <iterator>

#include "imaging/gif/color_reduction.h"
#include "imaging/gif/gif_exception.h"
#include "imaging/gif/gif_messages.h"
#include "imaging/gif/lzw_encoder.h"

namespace klipora::imaging::gif {
namespace {

constexpr std::uint8_t kTrailer = 0x3B;  // TGIFTrailer's one byte
constexpr int kMaxDimension = 65535;
// 16,384 x 16,384: beyond any screen, and a bound for hostile headers.
constexpr std::uint64_t kMaxViewPixels = std::uint64_t{1} << 28;

void put16(std::uint8_t* at, int value) {
  at[0] = static_cast<std::uint8_t>(value & 0xFF);
  at[1] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
}

// The index of pixel x in a row of 1, 4 or 8 bits per pixel.
std::uint8_t indexAt(const std::uint8_t* row, int x, int bits) {
  switch (bits) {
    case 1:
      return (row[x >> 3] >> (7 - (x & 7))) & 1;
    case 4:
      return (x & 1) ? (row[x >> 1] & 0x0F) : (row[x >> 1] >> 4);
    default:
      return row[x];
  }
}

}  // namespace

std::string_view TGIFSubImage::version() const {
  return (colorMap_.sorted() || !extensions_.empty()) ? "89a" : "87a";
}

void TGIFSubImage::clear() {
  left_ = top_ = width_ = height_ = 0;
  packedFields_ = 0;
  colorMap_.clear();
  extensions_.clear();
  pixels_.clear();
}

TGIFImage::TGIFImage() = default;
TGIFImage::~TGIFImage() = default;

void TGIFImage::clear() {
  frames_.clear();
  header_.clear();
  dropBitmap();
}

TGIFSubImage& TGIFImage::addFrame() {
  frames_.push_back(std::make_unique<TGIFSubImage>());
  dropBitmap();
  return *frames_.back();
}

void TGIFImage::setFrameSize(TGIFSubImage& frame, int width, int height) {
  if (width < 0 || width > kMaxDimension) throw GIFException(msg::RangeError);
  frame.width_ = width;
  header_.width = static_cast<std::uint16_t>(
      std::clamp(std::max<int>(header_.width, frame.left_ + width), 0, kMaxDimension));
  if (height < 0 || height > kMaxDimension) throw GIFException(msg::RangeError);
  frame.height_ = height;
  header_.height = static_cast<std::uint16_t>(
      std::clamp(std::max<int>(header_.height, frame.top_ + height), 0, kMaxDimension));
  dropBitmap();
}

void TGIFImage::warn(const std::string& message) const {
  if (warnings_) warnings_(message);
}

void TGIFImage::assign(const Bitmap& bitmap) {
  clear();
  auto frame = std::make_unique<TGIFSubImage>();
  importFrame(*frame, bitmap);
  frames_.push_back(std::move(frame));
}

void TGIFImage::assign(const TGIFImage& other) {
  if (&other == this) return;
  clear();
  header_ = other.header_;
  for (const auto& frame : other.frames_) frames_.push_back(std::make_unique<TGIFSubImage>(*frame));
}

void TGIFImage::importFrame(TGIFSubImage& frame, const Bitmap& bitmap) {
  frame.clear();
  if (bitmap.empty()) return;
  const int bits = bitmap.bitsPerPixel();
  if (bits != 1 && bits != 4 && bits != 8) {
    Bitmap copy = bitmap;
    const Bitmap reduced = ReduceBitmapColors(copy, colorReduction, ditherMode, reductionBits);
    if (reduced.bitsPerPixel() > 8) throw GIFException(msg::UnsupportedPixelFormat);
    importFrame(frame, reduced);
    return;
  }
  setFrameSize(frame, bitmap.width(), bitmap.height());
  const std::size_t width = static_cast<std::size_t>(frame.width_);
  frame.pixels_.assign(width * static_cast<std::size_t>(frame.height_), 0);

  ProgressScope progress(progress_, this, msg::Converting);
  for (const PaletteEntry& entry : bitmap.palette()) {
    frame.colorMap_.add({entry.red, entry.green, entry.blue});
  }
  for (int y = 0; y < frame.height_; ++y) {
    if (y % 32 == 0) {
      progress.running(progressPercent(static_cast<std::uint64_t>(y) * 100,
                                       static_cast<std::uint64_t>(frame.height_) * 100));
    }
    const std::uint8_t* source = bitmap.row(y);
    std::uint8_t* target = frame.pixels_.data() + static_cast<std::size_t>(y) * width;
    if (bits == 8) {
      std::copy(source, source + width, target);
    } else {
      for (int x = 0; x < frame.width_; ++x) target[x] = indexAt(source, x, bits);
    }
  }
  progress.finish();
}

std::string_view TGIFImage::version() const {
  if (frames_.empty()) throw GIFException(msg::UnsupportedVersion);
  std::string_view version = "87a";
  for (const auto& frame : frames_) version = std::max(version, frame->version());
  return version;
}

void TGIFImage::saveToStream(OutputStream& sink) const {
  ProgressScope progress(progress_, this, msg::Saving);
  const std::string_view version = this->version();

  // Colour resolution and table size follow the largest table in the image,
  // except that a global table's size field must describe that table itself,
  // or readers would take the wrong number of bytes for it.
  const int globalBits = header_.colorMap.bitsPerEntry();
  int maxBits = globalBits;
  for (const auto& frame : frames_) maxBits = std::max(maxBits, frame->colorMap_.bitsPerEntry());
  const int sizeBits = header_.colorMap.empty() ? maxBits : globalBits;
  std::uint8_t packed =
      static_cast<std::uint8_t>((((maxBits - 1) & 7) << 4) | ((sizeBits - 1) & 7));
  if (!header_.colorMap.empty()) packed |= 0x80;
  if (header_.colorMap.sorted()) packed |= 0x08;

  std::uint8_t head[13] = {'G', 'I', 'F'};
  std::copy(version.begin(), version.end(), head + 3);
  put16(head + 6, header_.width);
  put16(head + 8, header_.height);
  head[10] = packed;
  head[11] = header_.backgroundColorIndex;
  head[12] = header_.aspectRatio;
  sink.write(head, sizeof head);
  if (packed & 0x80) header_.colorMap.writeTo(sink);

  for (std::size_t i = 0; i < frames_.size(); ++i) {
    writeFrame(sink, *frames_[i], maxBits);
    progress.running(progressPercent(i + 1, frames_.size()));
  }
  sink.write(&kTrailer, 1);
  progress.finish();
}

void TGIFImage::writeFrame(OutputStream& sink, const TGIFSubImage& frame, int imageBits) const {
  for (const GifExtension& extension : frame.extensions_) {
    const std::uint8_t introducer[2] = {0x21, extension.label};
    sink.write(introducer, 2);
    sink.write(extension.blocks.data(), extension.blocks.size());
    const std::uint8_t terminator = 0;
    sink.write(&terminator, 1);
  }
  if (frame.pixels_.empty() || frame.width_ == 0 || frame.height_ == 0) return;

  const TGIFLocalColorMap& map = frame.colorMap_;
  const bool local = !map.empty();
  std::uint8_t packed = frame.packedFields_ & 0x58;
  if (local)
    packed = static_cast<std::uint8_t>(0x80 | (map.sorted() ? 0x20 : 0) |
                                       ((map.bitsPerEntry() - 1) & 7));

  std::uint8_t descriptor[10] = {TGIFSubImage::kImageSeparator};
  put16(descriptor + 1, frame.left_);
  put16(descriptor + 3, frame.top_);
  put16(descriptor + 5, frame.width_);
  put16(descriptor + 7, frame.height_);
  descriptor[9] = packed;
  sink.write(descriptor, sizeof descriptor);
  map.writeTo(sink);

  int bits = local ? map.bitsPerEntry() : imageBits;
  const int colorLimit = local ? map.count() : (1 << bits);
  bits = std::max(bits, 2);
  const std::uint8_t codeSize = static_cast<std::uint8_t>(bits);
  sink.write(&codeSize, 1);
  TLZWEncoder encoder;
  encoder.encode(sink,
                 {frame.pixels_.data(), frame.width_, frame.height_, !local && frame.interlaced()},
                 bits, colorLimit);
  const std::uint8_t terminator = 0;
  sink.write(&terminator, 1);
}

std::vector<std::uint8_t> TGIFImage::saveToMemory() const {
  MemoryStream stream;
  saveToStream(stream);
  return stream.bytes();
}

void TGIFImage::saveToFile(const std::string& path) const {
  FileStream file(path);
  try {
    saveToStream(file);
    file.close();
  } catch (...) {
    file.discard();
    throw;
  }
}

void TGIFImage::loadFromFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw GIFException(std::string(msg::CannotOpenFile) + "\"" + path + "\"");
  loadFromStream(in);
}

void TGIFImage::loadFromStream(std::istream& in) {
  const std::istream::pos_type start = in.tellg();
  std::vector<std::uint8_t> data{std::istreambuf_iterator<char>(in),
                                 std::istreambuf_iterator<char>()};
  in.clear();
  std::size_t consumed = 0;
  try {
    consumed = readFrom(data);
  } catch (...) {
    in.seekg(start);
    throw;
  }
  in.seekg(start + static_cast<std::streamoff>(consumed));
}

void TGIFImage::loadFromMemory(std::span<const std::uint8_t> data) { readFrom(data); }

const Bitmap& TGIFImage::bitmap() const {
  if (view_) return *view_;
  if (std::uint64_t{header_.width} * header_.height > kMaxViewPixels) {
    throw GIFException(msg::ImageTooLarge);
  }
  auto view = std::make_unique<Bitmap>(header_.width, header_.height, 8);
  if (!frames_.empty()) {
    const TGIFSubImage& frame = *frames_.front();
    const TGIFColorMap& map = frame.colorMap_.empty()
                                  ? static_cast<const TGIFColorMap&>(header_.colorMap)
                                  : frame.colorMap_;
    Palette& palette = view->palette();
    palette.resize(256);
    for (int i = 0; i < map.count(); ++i)
      palette[static_cast<std::size_t>(i)] = {map[i].red, map[i].green, map[i].blue, 0};
    // Draw the frame clipped to the logical screen.
    const int right = std::min<int>(frame.left_ + frame.width_, header_.width);
    const int bottom = std::min<int>(frame.top_ + frame.height_, header_.height);
    if (!frame.pixels_.empty() && right > frame.left_) {
      for (int y = frame.top_; y < bottom; ++y) {
        const std::uint8_t* source =
            frame.pixels_.data() +
            static_cast<std::size_t>(y - frame.top_) * static_cast<std::size_t>(frame.width_);
        std::copy(source, source + (right - frame.left_), view->row(y) + frame.left_);
      }
    }
  }
  view_ = std::move(view);
  return *view_;
}

}  // namespace klipora::imaging::gif
