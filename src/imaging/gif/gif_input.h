#pragma once
// A bounds-checked cursor over a GIF stream in memory. Running past the end
// raises "Premature end of data".
#include <cstddef>
#include <cstdint>
#include <span>

#include "imaging/gif/gif_exception.h"
#include "imaging/gif/gif_messages.h"

namespace klipora::imaging::gif {

class GifInput {
 public:
  explicit GifInput(std::span<const std::uint8_t> data) : data_(data) {}

  std::size_t position() const { return pos_; }
  std::size_t size() const { return data_.size(); }
  std::size_t remaining() const { return data_.size() - pos_; }
  bool atEnd() const { return pos_ >= data_.size(); }

  std::uint8_t peek() const {
    need(1);
    return data_[pos_];
  }
  std::uint8_t byte() {
    need(1);
    return data_[pos_++];
  }
  std::uint16_t word() {
    need(2);
    const std::uint16_t value = static_cast<std::uint16_t>(data_[pos_] | (data_[pos_ + 1] << 8));
    pos_ += 2;
    return value;
  }
  std::span<const std::uint8_t> bytes(std::size_t count) {
    need(count);
    const auto result = data_.subspan(pos_, count);
    pos_ += count;
    return result;
  }
  void seek(std::size_t position) { pos_ = position < data_.size() ? position : data_.size(); }

 private:
  void need(std::size_t count) const {
    if (count > data_.size() - pos_) throw GIFException(msg::PrematureEnd);
  }

  std::span<const std::uint8_t> data_;
  std::size_t pos_ = 0;
};

}  // namespace klipora::imaging::gif
