#include "imaging/gif/lzw_decoder.h"

namespace klipora::imaging::gif {
namespace {

// Reads codes LSB-first across the data sub-blocks.
class CodeReader {
 public:
  explicit CodeReader(GifInput& input) : input_(input) {}

  // -1 once the sub-blocks are exhausted.
  int read(int width) {
    while (bits_ < width) {
      if (blockLeft_ == 0) {
        if (finished_) return -1;
        blockLeft_ = input_.byte();
        if (blockLeft_ == 0) {
          finished_ = true;
          return -1;
        }
      }
      bucket_ |= static_cast<std::uint32_t>(input_.byte()) << bits_;
      bits_ += 8;
      --blockLeft_;
    }
    const int code = static_cast<int>(bucket_ & ((1u << width) - 1));
    bucket_ >>= width;
    bits_ -= width;
    return code;
  }

  // Skips the unread rest of the data, through the terminator.
  void skipRest() {
    if (finished_) return;
    input_.bytes(blockLeft_);
    for (std::uint8_t length = input_.byte(); length != 0; length = input_.byte()) {
      input_.bytes(length);
    }
    finished_ = true;
  }

 private:
  GifInput& input_;
  std::uint32_t bucket_ = 0;
  int bits_ = 0;
  std::size_t blockLeft_ = 0;
  bool finished_ = false;
};

}  // namespace

LzwDecoder::Result LzwDecoder::decode(GifInput& input, int minCodeSize, std::uint8_t* out,
                                      std::size_t pixelCount) {
  const int clearCode = 1 << minCodeSize;
  const int endCode = clearCode + 1;
  for (int i = 0; i < clearCode; ++i) {
    suffix_[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
    first_[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
  }
  int width = minCodeSize + 1;
  int nextCode = clearCode + 2;
  int previous = -1;
  Result result;
  CodeReader reader(input);

  while (result.decoded < pixelCount) {
    const int code = reader.read(width);
    if (code < 0 || code == endCode) break;
    if (code == clearCode) {
      width = minCodeSize + 1;
      nextCode = clearCode + 2;
      previous = -1;
      continue;
    }
    int emitted = code;
    if (previous < 0) {
      if (code > clearCode) {
        result.corrupt = true;
        break;
      }
    } else if (code < nextCode) {
      if (nextCode < kMaxCodes) {
        prefix_[static_cast<std::size_t>(nextCode)] = static_cast<std::uint16_t>(previous);
        suffix_[static_cast<std::size_t>(nextCode)] = first_[static_cast<std::size_t>(code)];
        first_[static_cast<std::size_t>(nextCode)] = first_[static_cast<std::size_t>(previous)];
        ++nextCode;
      }
    } else if (code == nextCode && nextCode < kMaxCodes) {
      prefix_[static_cast<std::size_t>(nextCode)] = static_cast<std::uint16_t>(previous);
      suffix_[static_cast<std::size_t>(nextCode)] = first_[static_cast<std::size_t>(previous)];
      first_[static_cast<std::size_t>(nextCode)] = first_[static_cast<std::size_t>(previous)];
      ++nextCode;
    } else {
      result.corrupt = true;
      break;
    }
    if (nextCode == (1 << width) && width < 12) ++width;

    // Unwind the string backwards onto the stack, then copy it out.
    std::size_t depth = 0;
    while (emitted >= clearCode) {
      stack_[depth++] = suffix_[static_cast<std::size_t>(emitted)];
      emitted = prefix_[static_cast<std::size_t>(emitted)];
    }
    stack_[depth++] = static_cast<std::uint8_t>(emitted);
    while (depth > 0 && result.decoded < pixelCount) out[result.decoded++] = stack_[--depth];
    previous = code;
  }
  reader.skipRest();
  return result;
}

}  // namespace klipora::imaging::gif
