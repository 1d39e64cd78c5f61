#pragma once
// The one encode interface of the program: the save pipeline and the
// screenshot window's "save as" both turn a bitmap into file bytes here.
#include <string>

#include "imaging/bitmap.h"
#include "imaging/image_format.h"
#include "imaging/output_stream.h"

namespace klipora::imaging {

struct EncodeOptions {
  ImageFormat format = ifGIF;
  int gifColour = 3;     // setting GIFOptColor
  int gifDither = 0;     // setting GIFDithering
  int jpegQuality = 90;  // setting JPEGComp, 1..100
};

// Encodes into a file, created or overwritten. On failure the file is
// removed again, so that no half-written image is left looking saved.
// Raises klipora::Error; the caller reports it. An empty bitmap is refused
// before the file is touched.
void EncodeImage(const Bitmap& bitmap, const EncodeOptions& options, const std::string& path);

// Encodes into a memory stream; the bytes are the same as in the file.
void EncodeImage(const Bitmap& bitmap, const EncodeOptions& options, MemoryStream& stream);

}  // namespace klipora::imaging
