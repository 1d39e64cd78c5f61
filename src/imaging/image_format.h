#pragma once
// The output formats by their stored index (setting SaveType), with the file
// extension each is written under.
#include <cstdint>
#include <optional>
#include <string_view>

namespace klipora::imaging {

enum ImageFormat : std::uint8_t { ifGIF = 0, ifJPEG = 1, ifBMP = 2, ifPNG = 3, ifTIFF = 4 };

// Lower case, with the dot: ".gif", ".jpg", ".bmp", ".png", ".tif".
constexpr std::string_view extensionOf(ImageFormat format) {
  switch (format) {
    case ifGIF:
      return ".gif";
    case ifJPEG:
      return ".jpg";
    case ifBMP:
      return ".bmp";
    case ifPNG:
      return ".png";
    case ifTIFF:
      return ".tif";
  }
  return {};
}

// The format stored under an index, or nothing for an index outside 0..4.
constexpr std::optional<ImageFormat> imageFormatFromIndex(int index) {
  if (index < ifGIF || index > ifTIFF) return std::nullopt;
  return static_cast<ImageFormat>(index);
}

}  // namespace klipora::imaging
