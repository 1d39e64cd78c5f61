#pragma once
// Building little-endian file headers byte by byte.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace klipora::imaging {

class LittleEndianBuffer {
 public:
  void u16(unsigned value) {
    data_.push_back(static_cast<std::uint8_t>(value));
    data_.push_back(static_cast<std::uint8_t>(value >> 8));
  }
  void u32(std::uint32_t value) {
    u16(value & 0xFFFF);
    u16(value >> 16);
  }
  void bytes(const void* bytes, std::size_t size) {
    const auto* p = static_cast<const std::uint8_t*>(bytes);
    data_.insert(data_.end(), p, p + size);
  }
  std::uint32_t size() const { return static_cast<std::uint32_t>(data_.size()); }
  const std::vector<std::uint8_t>& data() const { return data_; }

 private:
  std::vector<std::uint8_t> data_;
};

}  // namespace klipora::imaging
