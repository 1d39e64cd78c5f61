// Feeds arbitrary bytes to the GIF reader, as the clipboard or a file from
// another program would, and uses what it accepts the way the viewer does.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "base/error.h"
#include "imaging/gif/gif_image.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using klipora::imaging::gif::TGIFImage;
  TGIFImage image;
  image.setWarningReceiver([](const std::string&) {});
  try {
    image.loadFromMemory(std::span(data, size));
    if (image.empty()) return 0;
    image.bitmap();
    const auto saved = image.saveToMemory();
    TGIFImage again;
    again.loadFromMemory(saved);
  } catch (const klipora::Error&) {
    // A clean refusal is a valid outcome.
  }
  return 0;
}
