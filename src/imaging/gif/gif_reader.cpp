// Reading GIF87a and GIF89a streams into a TGIFImage.
#include <algorithm>
#include <cctype>
#include <cstring>

#include "imaging/gif/gif_exception.h"
#include "imaging/gif/gif_image.h"
#include "imaging/gif/gif_input.h"
#include "imaging/gif/gif_messages.h"
#include "imaging/gif/gif_rows.h"
#include "imaging/gif/lzw_decoder.h"

namespace klipora::imaging::gif {
namespace {

constexpr std::uint8_t kExtensionIntroducer = '!';
constexpr std::uint8_t kImageIntroducer = ',';
constexpr std::uint8_t kTrailer = ';';

constexpr std::uint8_t kPlainTextLabel = 0x01;
constexpr std::uint8_t kGraphicControlLabel = 0xF9;
constexpr std::uint8_t kCommentLabel = 0xFE;
constexpr std::uint8_t kApplicationLabel = 0xFF;

// All frames of one stream together may not claim more pixels than this, and
// no frame more than its remaining data could encode (one code of at least
// 2 bits stands for at most 4,096 pixels), so hostile headers cannot make us
// allocate without bound.
constexpr std::uint64_t kMaxTotalPixels = std::uint64_t{1} << 28;
constexpr std::uint64_t kMaxPixelsPerDataByte = 4 * 4096;

bool isSignature(std::span<const std::uint8_t> bytes) {
  return std::toupper(bytes[0]) == 'G' && std::toupper(bytes[1]) == 'I' &&
         std::toupper(bytes[2]) == 'F';
}

void readColorMap(GifInput& input, TGIFColorMap& map, int count) {
  const auto bytes = input.bytes(static_cast<std::size_t>(count) * 3);
  for (int i = 0; i < count; ++i) {
    const std::size_t at = static_cast<std::size_t>(i) * 3;
    map.add({bytes[at], bytes[at + 1], bytes[at + 2]});
  }
}

GifExtension readExtension(GifInput& input) {
  GifExtension extension;
  extension.label = input.byte();
  switch (extension.label) {
    case kPlainTextLabel:
    case kGraphicControlLabel:
    case kCommentLabel:
    case kApplicationLabel:
      break;
    default:
      throw GIFException(msg::UnknownExtension);
  }
  for (std::uint8_t length = input.byte(); length != 0; length = input.byte()) {
    const auto data = input.bytes(length);
    extension.blocks.push_back(length);
    extension.blocks.insert(extension.blocks.end(), data.begin(), data.end());
  }
  // The loop block of animations: "NETSCAPE2.0", then a 3-byte sub-block 1.
  const auto& blocks = extension.blocks;
  if (extension.label == kApplicationLabel && blocks.size() >= 12 && blocks[0] == 11 &&
      std::memcmp(blocks.data() + 1, "NETSCAPE2.0", 11) == 0) {
    const bool valid = blocks.size() >= 14 && (blocks[13] != 1 || blocks[12] == 3);
    if (!valid) throw GIFException(msg::InvalidData);
  }
  return extension;
}

}  // namespace

void TGIFImage::readFrame(GifInput& input, std::vector<GifExtension>& pending,
                          std::uint64_t& budget) {
  auto owned = std::make_unique<TGIFSubImage>();
  TGIFSubImage& frame = *owned;
  frame.left_ = input.word();
  frame.top_ = input.word();
  frame.width_ = input.word();
  frame.height_ = input.word();
  frame.packedFields_ = input.byte();
  if (frame.packedFields_ & 0x80) {
    readColorMap(input, frame.colorMap_, 2 << (frame.packedFields_ & 7));
    frame.colorMap_.setSorted((frame.packedFields_ & 0x20) != 0);
  }
  const int codeSize = input.byte();
  if (codeSize < 1 || codeSize > 11) throw GIFException(msg::InvalidData);

  if (frame.width_ == 0 || frame.height_ == 0) {
    frame.width_ = header_.width;
    frame.height_ = header_.height;
    warn(msg::ExceedsScreen);
  } else if (frame.left_ + frame.width_ > header_.width ||
             frame.top_ + frame.height_ > header_.height) {
    warn(msg::ExceedsScreen);
  }

  input.peek();  // a stream that ends here is cut short, not too large
  const std::uint64_t area = std::uint64_t{static_cast<std::uint32_t>(frame.width_)} *
                             static_cast<std::uint32_t>(frame.height_);
  if (area > budget || area > kMaxPixelsPerDataByte * input.remaining()) {
    throw GIFException(msg::ImageTooLarge);
  }
  budget -= area;

  LzwDecoder decoder;
  LzwDecoder::Result result;
  if (area == 0) {
    result = decoder.decode(input, codeSize, nullptr, 0);
  } else if (!frame.interlaced()) {
    frame.pixels_.assign(area, 0);
    result = decoder.decode(input, codeSize, frame.pixels_.data(), area);
  } else {
    std::vector<std::uint8_t> passes(area, 0);
    result = decoder.decode(input, codeSize, passes.data(), area);
    frame.pixels_.assign(area, 0);
    const std::size_t width = static_cast<std::size_t>(frame.width_);
    const std::uint8_t* source = passes.data();
    forEachRow(frame.height_, true, [&](int y) {
      std::copy(source, source + width, frame.pixels_.data() + static_cast<std::size_t>(y) * width);
      source += width;
    });
  }
  if (result.corrupt || result.decoded < area) warn(msg::CorruptImageData);

  frame.extensions_ = std::move(pending);
  pending.clear();
  frames_.push_back(std::move(owned));
}

std::size_t TGIFImage::readFrom(std::span<const std::uint8_t> data) {
  clear();
  ProgressScope progress(progress_, this, msg::Loading);
  GifInput input(data);
  try {
    if (!isSignature(input.bytes(6))) {
      input.seek(4);
      if (!isSignature(input.bytes(6))) throw GIFException(msg::InvalidSignature);
    }
    header_.width = input.word();
    header_.height = input.word();
    header_.packedFields = input.byte();
    header_.backgroundColorIndex = input.byte();
    header_.aspectRatio = input.byte();
    if (header_.packedFields & 0x80) {
      readColorMap(input, header_.colorMap, 2 << (header_.packedFields & 7));
      header_.colorMap.setSorted((header_.packedFields & 0x08) != 0);
    }

    std::vector<GifExtension> pending;
    std::uint64_t budget = kMaxTotalPixels;
    bool afterExtension = false;
    bool trailer = false;
    for (;;) {
      while (!input.atEnd() && input.peek() == 0) input.byte();
      if (input.atEnd()) break;
      const std::uint8_t block = input.peek();
      if (block == kTrailer) {
        input.byte();
        trailer = true;
        break;
      }
      if (block == kExtensionIntroducer) {
        input.byte();
        pending.push_back(readExtension(input));
        afterExtension = true;
      } else if (block == kImageIntroducer) {
        input.byte();
        readFrame(input, pending, budget);
        afterExtension = false;
        progress.running(progressPercent(input.position(), input.size()));
      } else {
        warn(afterExtension ? msg::InvalidIntroducer : msg::UnknownBlockType);
        break;
      }
    }
    if (!trailer && !input.atEnd()) warn(msg::InvalidTrailer);
  } catch (...) {
    clear();
    throw;
  }
  progress.finish();
  return input.position();
}

}  // namespace klipora::imaging::gif
