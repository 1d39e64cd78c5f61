#include <algorithm>
#include <vector>

#include "base/error.h"
#include "imaging/bmp_file.h"
#include "imaging/byte_order.h"

namespace klipora::imaging {

void writeBmp(const Bitmap& bitmap, OutputStream& out) {
  const int bits = bitmap.bitsPerPixel();
  std::size_t colours = 0;
  if (bits <= 8) {
    // A table shorter than the depth allows is written as it is; an empty
    // one becomes a full table of black, since "0 colours used" means all.
    const std::size_t full = std::size_t{1} << bits;
    colours = bitmap.palette().empty() ? full : std::min(bitmap.palette().size(), full);
  }
  const std::uint64_t imageSize = std::uint64_t{bitmap.stride()} * bitmap.height();
  const std::uint64_t dataOffset = 14 + 40 + 4 * colours;
  const std::uint64_t fileSize = dataOffset + imageSize;
  if (fileSize > 0xFFFFFFFFull) throw Error("BMP: Image too large");

  LittleEndianBuffer head;
  head.bytes("BM", 2);
  head.u32(static_cast<std::uint32_t>(fileSize));
  head.u16(0);
  head.u16(0);
  head.u32(static_cast<std::uint32_t>(dataOffset));
  head.u32(40);
  head.u32(static_cast<std::uint32_t>(bitmap.width()));
  head.u32(static_cast<std::uint32_t>(bitmap.height()));  // positive: bottom row first
  head.u16(1);
  head.u16(static_cast<unsigned>(bits));
  head.u32(0);  // uncompressed: 16 bits are 5-5-5, 32 bits blue, green, red, unused
  head.u32(static_cast<std::uint32_t>(imageSize));
  head.u32(0);  // resolution: none recorded, as for a bitmap taken from the screen
  head.u32(0);
  head.u32(static_cast<std::uint32_t>(colours));
  head.u32(0);
  for (std::size_t i = 0; i < colours; ++i) {
    const PaletteEntry entry = i < bitmap.palette().size() ? bitmap.palette()[i] : PaletteEntry{};
    const std::uint8_t quad[4] = {entry.blue, entry.green, entry.red, 0};
    head.bytes(quad, 4);
  }
  out.write(head.data().data(), head.data().size());

  const std::size_t used = (static_cast<std::size_t>(bitmap.width()) * bits + 7) / 8;
  const std::vector<std::uint8_t> padding(bitmap.stride() - used, 0);
  for (int y = bitmap.height() - 1; y >= 0; --y) {
    out.write(bitmap.row(y), used);
    out.write(padding.data(), padding.size());
  }
}

}  // namespace klipora::imaging
