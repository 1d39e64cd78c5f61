#include <windows.h>

#include "app/tools.h"

namespace klipora {

unsigned char platformLowerCase(unsigned char byte) {
  char c = static_cast<char>(byte);
  CharLowerBuffA(&c, 1);
  return static_cast<unsigned char>(c);
}

}  // namespace klipora
