#pragma once
// PNG output: 1, 4 and 8-bit bitmaps as palette images of the same depth,
// everything else as 8-bit RGB. Every row uses the Sub filter; the data is
// one zlib stream at level 7, cut into IDAT chunks of 65535 bytes.
#include "imaging/bitmap.h"
#include "imaging/output_stream.h"

namespace klipora::imaging {

void writePng(const Bitmap& bitmap, OutputStream& out);

}  // namespace klipora::imaging
