#pragma once
// GIF image-data encoders. One frame's index bytes go in; the code stream,
// packed into sub-blocks, goes out (without the code-size byte and the
// terminator, which belong to the frame).
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>

#include "imaging/gif/gif_hash_table.h"
#include "imaging/gif/gif_writer.h"
#include "imaging/output_stream.h"

namespace klipora::imaging::gif {

struct GifPixels {
  const std::uint8_t* data = nullptr;  // width * height bytes, rows top to bottom
  int width = 0;
  int height = 0;
  bool interlaced = false;  // encode rows in the four-pass interlaced order
};

class TGIFEncoder {
 public:
  virtual ~TGIFEncoder() = default;
  // bitsPerPixel is the LZW minimum code size (2 to 8); an index at or above
  // colorLimit raises "Color not in color table".
  virtual void encode(OutputStream& sink, const GifPixels& pixels, int bitsPerPixel,
                      int colorLimit) = 0;

 protected:
  void begin(OutputStream& sink, int bitsPerPixel, int colorLimit);
  void emit(int code) {
    bucket_ |= static_cast<std::uint32_t>(code) << bucketBits_;
    bucketBits_ += codeWidth_;
    while (bucketBits_ >= 8) {
      writer_->put(static_cast<std::uint8_t>(bucket_));
      bucket_ >>= 8;
      bucketBits_ -= 8;
    }
    if (code == clearCode_) {
      codeWidth_ = initialCodeWidth_;
      maxCode_ = (1 << codeWidth_) - 1;
    } else if (freeCode_ > maxCode_) {
      ++codeWidth_;
      maxCode_ = codeWidth_ >= 12 ? 4096 : (1 << codeWidth_) - 1;
    }
  }
  // Hands on the last, zero-filled byte and the last sub-block.
  void end();

  int bitsPerPixel_ = 0;
  int initialCodeWidth_ = 0;
  int codeWidth_ = 0;
  int maxCode_ = 0;
  int clearCode_ = 0;
  int endCode_ = 0;
  int freeCode_ = 0;
  std::uint32_t bucket_ = 0;
  int bucketBits_ = 0;
  int colorLimit_ = 0;
  TGIFWriter* writer_ = nullptr;
};

class TLZWEncoder final : public TGIFEncoder {
 public:
  void encode(OutputStream& sink, const GifPixels& pixels, int bitsPerPixel,
              int colorLimit) override;

 private:
  static constexpr std::size_t kCodes = 4096;

  void emitClear() {
    emit(clearCode_);
    table_.clear();
    freeCode_ = clearCode_ + 2;
    resetRuns();
  }
  // Resets the shortcuts in front of the table.
  void resetRuns();
  void addEntry(std::uint32_t key, int prefix, int pixel);
  void encodeSpan(const std::uint8_t* begin, const std::uint8_t* end, int& prefix);

  THashTable table_;
  // Codes that stand for a run of one colour: the colour (-1 for other
  // strings) and the run's length; per colour, the code of each run length
  // up to the longest. Only a shortcut: the table above stays complete.
  std::array<std::int16_t, kCodes> runColor_{};
  std::array<std::uint16_t, kCodes> runLength_{};
  std::array<std::uint16_t, 256> longestRun_{};
  std::unique_ptr<std::uint16_t[]> runCodes_;
  // Per code, the last (pixel << 12 | child code) found after it.
  static constexpr std::uint32_t kNoChild = 0xFFFFFFFFu;
  std::array<std::uint32_t, kCodes> lastChild_{};
};

}  // namespace klipora::imaging::gif
