#pragma once
// Colour lookups: map a colour to a palette index and hand back the palette
// colour, which the dither engines need to compute the error. The concrete
// lookups are final and defined inline so that templated callers pay no
// virtual call per pixel.
#include <array>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "imaging/bitmap.h"

namespace klipora::imaging::gif {

struct Rgb {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  bool operator==(const Rgb&) const = default;
};

class TColorLookup {
 public:
  virtual ~TColorLookup() = default;
  int colorCount() const { return colorCount_; }
  virtual std::uint8_t MapColor(std::uint8_t red, std::uint8_t green, std::uint8_t blue,
                                Rgb& chosen) = 0;

 protected:
  explicit TColorLookup(int colorCount) : colorCount_(colorCount) {}
  int colorCount_;
};

// Nearest palette entry by the sum of channel differences, cached per
// 5-bit-per-channel cell. A cell is claimed by the first palette entry that
// falls into it, otherwise by the answer for the first colour looked up in
// it; so results depend on the order of the lookups, and that order is part
// of the output.
class TFastColorLookup final : public TColorLookup {
 public:
  explicit TFastColorLookup(const Palette& palette);

  std::uint8_t MapColor(std::uint8_t red, std::uint8_t green, std::uint8_t blue,
                        Rgb& chosen) override {
    const unsigned cell = (unsigned{blue} >> 3) * 1024 + (unsigned{green} >> 3) * 32 + (red >> 3);
    std::int16_t index = inverse_[cell];
    if (index < 0) {
      index = nearest(red, green, blue);
      inverse_[cell] = index;
    }
    chosen = entries_[static_cast<std::size_t>(index)];
    return static_cast<std::uint8_t>(index);
  }

 private:
  std::int16_t nearest(int red, int green, int blue) const;

  std::array<Rgb, 256> entries_{};
  std::vector<std::int16_t> inverse_;
};

// The 216-colour web palette, computed rather than searched.
class TNetscapeColorLookup final : public TColorLookup {
 public:
  TNetscapeColorLookup() : TColorLookup(216) {}

  std::uint8_t MapColor(std::uint8_t red, std::uint8_t green, std::uint8_t blue,
                        Rgb& chosen) override {
    const int r = (red + 3) / 51, g = (green + 3) / 51, b = (blue + 3) / 51;
    chosen = {static_cast<std::uint8_t>(51 * r), static_cast<std::uint8_t>(51 * g),
              static_cast<std::uint8_t>(51 * b)};
    return static_cast<std::uint8_t>(36 * r + 6 * g + b);
  }
};

class TGrayScaleLookup final : public TColorLookup {
 public:
  TGrayScaleLookup() : TColorLookup(256) {}

  std::uint8_t MapColor(std::uint8_t red, std::uint8_t green, std::uint8_t blue,
                        Rgb& chosen) override {
    const auto grey = static_cast<std::uint8_t>((77 * red + 150 * green + 29 * blue) >> 8);
    chosen = {grey, grey, grey};
    return grey;
  }
};

class TMonochromeLookup final : public TColorLookup {
 public:
  TMonochromeLookup() : TColorLookup(2) {}

  std::uint8_t MapColor(std::uint8_t red, std::uint8_t green, std::uint8_t blue,
                        Rgb& chosen) override {
    if (77 * red + 150 * green + 29 * blue > 32512) {
      chosen = {255, 255, 255};
      return 1;
    }
    chosen = {0, 0, 0};
    return 0;
  }
};

}  // namespace klipora::imaging::gif
