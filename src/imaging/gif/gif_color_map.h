#pragma once
// A GIF colour table: up to 256 RGB triples as they appear in the stream.
#include <array>
#include <cstdint>

#include "imaging/output_stream.h"

namespace klipora::imaging::gif {

struct GifColor {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  bool operator==(const GifColor&) const = default;
};

class TGIFColorMap {
 public:
  static constexpr int kMaxColors = 256;

  int count() const { return count_; }
  bool empty() const { return count_ == 0; }
  const GifColor& operator[](int index) const { return colors_[index]; }
  const GifColor* data() const { return colors_.data(); }

  // Raises "Color table overflow" for a 257th colour.
  void add(GifColor color);
  void clear();

  // 0 for an empty table, else the smallest b >= 1 with 2^b >= count.
  int bitsPerEntry() const;
  // Grows to 16 entries for small tables, then in steps of 32, at most 256.
  int capacity() const { return capacity_; }

  bool sorted() const { return sorted_; }
  void setSorted(bool sorted) { sorted_ = sorted; }

  // count triples, then black up to the 2^bits entries the size field announces.
  void writeTo(OutputStream& sink) const;

  bool operator==(const TGIFColorMap& other) const;

 private:
  std::array<GifColor, kMaxColors> colors_{};
  int count_ = 0;
  int capacity_ = 0;
  bool sorted_ = false;
};

class TGIFGlobalColorMap : public TGIFColorMap {};
class TGIFLocalColorMap : public TGIFColorMap {};

}  // namespace klipora::imaging::gif
