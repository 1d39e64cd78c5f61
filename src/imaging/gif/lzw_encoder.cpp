#include "imaging/gif/lzw_encoder.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

#include "imaging/gif/gif_exception.h"
#include "imaging/gif/gif_messages.h"
#include "imaging/gif/gif_rows.h"

namespace klipora::imaging::gif {

void TGIFEncoder::begin(OutputStream& sink, int bitsPerPixel, int colorLimit) {
  (void)sink;
  bitsPerPixel_ = bitsPerPixel;
  clearCode_ = 1 << bitsPerPixel;
  endCode_ = clearCode_ + 1;
  freeCode_ = clearCode_ + 2;
  initialCodeWidth_ = bitsPerPixel + 1;
  codeWidth_ = initialCodeWidth_;
  maxCode_ = (1 << codeWidth_) - 1;
  bucket_ = 0;
  bucketBits_ = 0;
  colorLimit_ = colorLimit;
}

void TGIFEncoder::end() {
  if (bucketBits_ > 0) writer_->put(static_cast<std::uint8_t>(bucket_));
  bucket_ = 0;
  bucketBits_ = 0;
  writer_->finish();
}

namespace {

// Number of bytes equal to `value` from `at`, up to `end`.
std::size_t runOf(const std::uint8_t* at, const std::uint8_t* end, std::uint8_t value) {
  const std::uint8_t* p = at;
  const std::uint64_t pattern = 0x0101010101010101ull * value;
  while (end - p >= 8) {
    std::uint64_t word;
    std::memcpy(&word, p, 8);
    if (word != pattern) break;
    p += 8;
  }
  while (p < end && *p == value) ++p;
  return static_cast<std::size_t>(p - at);
}

}  // namespace

void TLZWEncoder::resetRuns() {
  lastChild_.fill(kNoChild);
  for (int c = 0; c < clearCode_; ++c) {
    runColor_[static_cast<std::size_t>(c)] = static_cast<std::int16_t>(c);
    runLength_[static_cast<std::size_t>(c)] = 1;
    longestRun_[static_cast<std::size_t>(c)] = 1;
    runCodes_[static_cast<std::size_t>(c) * kCodes + 1] = static_cast<std::uint16_t>(c);
  }
}

void TLZWEncoder::addEntry(std::uint32_t key, int prefix, int pixel) {
  const int code = freeCode_++;
  table_.insert(key, code);
  // (c^k, c) is new only when c^k is the longest run of c so far.
  const auto at = static_cast<std::size_t>(code);
  if (runColor_[static_cast<std::size_t>(prefix)] == pixel) {
    const int length = runLength_[static_cast<std::size_t>(prefix)] + 1;
    runColor_[at] = static_cast<std::int16_t>(pixel);
    runLength_[at] = static_cast<std::uint16_t>(length);
    longestRun_[static_cast<std::size_t>(pixel)] = static_cast<std::uint16_t>(length);
    runCodes_[static_cast<std::size_t>(pixel) * kCodes + static_cast<std::size_t>(length)] =
        static_cast<std::uint16_t>(code);
  } else {
    runColor_[at] = -1;
  }
}

void TLZWEncoder::encodeSpan(const std::uint8_t* begin, const std::uint8_t* end, int& prefix) {
  const std::uint8_t* at = begin;
  if (prefix < 0 && at < end) {
    if (*at >= colorLimit_) throw GIFException(msg::ColorNotInTable);
    prefix = *at++;
  }
  while (at < end) {
    const int pixel = *at;
    if (pixel >= colorLimit_) throw GIFException(msg::ColorNotInTable);
    // Inside a run of one colour the dictionary holds c, cc, ccc, ... up to
    // the longest run seen; jump along it instead of one lookup per pixel.
    if (runColor_[static_cast<std::size_t>(prefix)] == pixel) {
      const std::size_t have = runLength_[static_cast<std::size_t>(prefix)];
      const std::size_t longest = longestRun_[static_cast<std::size_t>(pixel)];
      if (have < longest) {
        const std::size_t step =
            std::min(runOf(at, end, static_cast<std::uint8_t>(pixel)), longest - have);
        prefix = runCodes_[static_cast<std::size_t>(pixel) * kCodes + have + step];
        at += step;
        continue;
      }
    }
    // Most strings are followed by the same pixel as last time: ask the
    // remembered child before hashing.
    std::uint32_t& child = lastChild_[static_cast<std::size_t>(prefix)];
    if ((child >> 12) == static_cast<std::uint32_t>(pixel)) {
      prefix = static_cast<int>(child & 0xFFF);
      ++at;
      continue;
    }
    const std::uint32_t key =
        (static_cast<std::uint32_t>(prefix) << 8) | static_cast<std::uint32_t>(pixel);
    const int code = table_.lookup(key);
    if (code >= 0) {
      child = (static_cast<std::uint32_t>(pixel) << 12) | static_cast<std::uint32_t>(code);
      prefix = code;
      ++at;
      continue;
    }
    emit(prefix);
    if (freeCode_ >= 4095) {
      emitClear();
    } else {
      child = (static_cast<std::uint32_t>(pixel) << 12) | static_cast<std::uint32_t>(freeCode_);
      addEntry(key, prefix, pixel);
    }
    prefix = pixel;
    ++at;
  }
}

void TLZWEncoder::encode(OutputStream& sink, const GifPixels& pixels, int bitsPerPixel,
                         int colorLimit) {
  TGIFWriter writer(sink);
  writer_ = &writer;
  if (!runCodes_) runCodes_ = std::make_unique<std::uint16_t[]>(std::size_t{256} * kCodes);
  begin(sink, bitsPerPixel, colorLimit);
  emitClear();

  int prefix = -1;
  const std::size_t width = static_cast<std::size_t>(pixels.width);
  if (!pixels.interlaced) {
    encodeSpan(pixels.data, pixels.data + width * static_cast<std::size_t>(pixels.height), prefix);
  } else {
    forEachRow(pixels.height, true, [&](int y) {
      const std::uint8_t* row = pixels.data + static_cast<std::size_t>(y) * width;
      encodeSpan(row, row + width, prefix);
    });
  }
  if (prefix >= 0) emit(prefix);
  emit(endCode_);
  end();
  writer_ = nullptr;
}

}  // namespace klipora::imaging::gif
