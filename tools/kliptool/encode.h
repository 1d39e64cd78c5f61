#pragma once
// kliptool encode: writes an image file exactly as the program would.
#include "command.h"

namespace klipora::kliptool {

inline constexpr const char* kEncodeUsage =
    "encode IN OUT --format gif|jpeg|bmp|png|tiff [--quality N] [--colour N] [--dither N]";

int runEncode(Args args);

}  // namespace klipora::kliptool
