#pragma once
// Decodes one frame's GIF image data (the sub-blocks after the code-size byte,
// up to and including the 0x00 terminator).
#include <array>
#include <cstddef>
#include <cstdint>

#include "imaging/gif/gif_input.h"

namespace klipora::imaging::gif {

class LzwDecoder {
 public:
  struct Result {
    std::size_t decoded = 0;  // pixels written; the rest of the output is untouched
    bool corrupt = false;     // a code outside the table was met
  };

  // minCodeSize must be 1 to 11. Writes at most pixelCount bytes, in stream
  // order, and always consumes the data up to its terminator.
  Result decode(GifInput& input, int minCodeSize, std::uint8_t* out, std::size_t pixelCount);

 private:
  static constexpr int kMaxCodes = 4096;
  std::array<std::uint16_t, kMaxCodes> prefix_{};
  std::array<std::uint8_t, kMaxCodes> suffix_{};
  std::array<std::uint8_t, kMaxCodes> first_{};
  std::array<std::uint8_t, kMaxCodes + 1> stack_{};
};

}  // namespace klipora::imaging::gif
