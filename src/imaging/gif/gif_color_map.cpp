#include "imaging/gif/gif_color_map.h"

#include <algorithm>
#include <cstddef>

#include "imaging/gif/gif_exception.h"
#include "imaging/gif/gif_messages.h"

namespace klipora::imaging::gif {

void TGIFColorMap::add(GifColor color) {
  if (count_ >= kMaxColors) throw GIFException(msg::ColorTableOverflow);
  if (count_ >= capacity_)
    capacity_ = count_ < 16 ? 16 : std::min(kMaxColors, (count_ / 32 + 1) * 32);
  colors_[static_cast<std::size_t>(count_++)] = color;
}

void TGIFColorMap::clear() {
  colors_.fill({});
  count_ = 0;
  capacity_ = 0;
  sorted_ = false;
}

int TGIFColorMap::bitsPerEntry() const {
  if (count_ == 0) return 0;
  int bits = 1;
  while ((1 << bits) < count_) ++bits;
  return bits;
}

void TGIFColorMap::writeTo(OutputStream& sink) const {
  if (count_ == 0) return;
  std::array<std::uint8_t, kMaxColors * 3> bytes{};
  for (int i = 0; i < count_; ++i) {
    const GifColor& color = colors_[static_cast<std::size_t>(i)];
    bytes[static_cast<std::size_t>(i) * 3] = color.red;
    bytes[static_cast<std::size_t>(i) * 3 + 1] = color.green;
    bytes[static_cast<std::size_t>(i) * 3 + 2] = color.blue;
  }
  sink.write(bytes.data(), static_cast<std::size_t>(1 << bitsPerEntry()) * 3);
}

bool TGIFColorMap::operator==(const TGIFColorMap& other) const {
  return count_ == other.count_ && sorted_ == other.sorted_ &&
         std::equal(colors_.begin(), colors_.begin() + count_, other.colors_.begin());
}

}  // namespace klipora::imaging::gif
