#pragma once
// Windows bitmap files. The writer keeps the bitmap's own depth; the reader
// takes the uncompressed and bit-field files of any depth Klipora knows.
#include <cstdint>
#include <span>

#include "imaging/bitmap.h"
#include "imaging/output_stream.h"

namespace klipora::imaging {

void writeBmp(const Bitmap& bitmap, OutputStream& out);

// Raises klipora::Error on anything it cannot read.
Bitmap readBmp(std::span<const std::uint8_t> data);

}  // namespace klipora::imaging
