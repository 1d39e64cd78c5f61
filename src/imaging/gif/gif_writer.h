#pragma once
// Packs encoded bytes into GIF data sub-blocks (a length byte, then up to 255
// bytes), so the target sees one write per 256 bytes instead of one per byte.
#include <array>
#include <cstdint>

#include "imaging/output_stream.h"

namespace klipora::imaging::gif {

class TGIFWriter {
 public:
  explicit TGIFWriter(OutputStream& sink) : sink_(sink) {}
  TGIFWriter(const TGIFWriter&) = delete;
  TGIFWriter& operator=(const TGIFWriter&) = delete;

  void put(std::uint8_t byte) {
    buffer_[++fill_] = byte;
    if (fill_ == 255) flushBlock();
  }

  // Writes what is left as a last, shorter sub-block; never an empty one.
  void finish() {
    if (fill_ > 0) flushBlock();
  }

 private:
  void flushBlock() {
    buffer_[0] = static_cast<std::uint8_t>(fill_);
    sink_.write(buffer_.data(), static_cast<std::size_t>(fill_) + 1);
    fill_ = 0;
  }

  OutputStream& sink_;
  std::array<std::uint8_t, 256> buffer_{};
  int fill_ = 0;
};

}  // namespace klipora::imaging::gif
