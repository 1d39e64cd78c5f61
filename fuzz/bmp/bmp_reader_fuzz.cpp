// Hostile bitmap files must end in a klipora::Error or a bitmap, never a crash.
#include <cstddef>
#include <cstdint>
#include <span>

#include "base/error.h"
#include "imaging/bmp_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  try {
    klipora::imaging::readBmp(std::span(data, size));
  } catch (const klipora::Error&) {
  }
  return 0;
}
