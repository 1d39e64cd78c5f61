#pragma once
// Input images for kliptool: binary PPM (P6) and Windows bitmaps.
#include <string>

#include "imaging/bitmap.h"

namespace klipora::kliptool {

// Reads a P6 PPM (maxval 255) or a BMP file as the program would see the
// capture: a 24-bit bitmap for PPM, the file's own depth for BMP.
imaging::Bitmap readImageFile(const std::string& path);

}  // namespace klipora::kliptool
