#pragma once
// kliptool decode: reads an image file the way the program reads it back and
// writes its pixels as a binary PPM, for comparison with other decoders.
#include "command.h"

namespace klipora::kliptool {

inline constexpr const char* kDecodeUsage = "decode IN OUT.ppm";

int runDecode(Args args);

}  // namespace klipora::kliptool
