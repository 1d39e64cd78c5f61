// Hostile TIFF input must end in a klipora::Error or a bitmap, never a crash.
#include <cstddef>
#include <cstdint>
#include <span>

#include "base/error.h"
#include "imaging/tiff/tiff_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  klipora::imaging::tiff::TTIFFFile file;
  try {
    file.LoadFromStream(std::span(data, size));
  } catch (const klipora::Error&) {
  }
  return 0;
}
