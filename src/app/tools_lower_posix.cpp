#include "app/tools.h"

namespace klipora {

// Windows-1252 as the Windows lower-casing sees it: Š Œ Ž Ÿ and the Latin-1
// capitals except × (0xD7); ß has no single-byte capital.
unsigned char platformLowerCase(unsigned char byte) {
  switch (byte) {
    case 0x8A:
    case 0x8C:
    case 0x8E:
      return static_cast<unsigned char>(byte + 0x10);
    case 0x9F:
      return 0xFF;
    default:
      if (byte >= 0xC0 && byte <= 0xDE && byte != 0xD7)
        return static_cast<unsigned char>(byte + 32);
      return byte;
  }
}

}  // namespace klipora
