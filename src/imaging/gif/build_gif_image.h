#pragma once
// The one way the program makes a GIF from a capture: reduce the colours as
// the two stored GIF settings say, then make the result the image's frame.
#include <memory>

#include "imaging/bitmap.h"
#include "imaging/gif/gif_image.h"
#include "imaging/gif/gif_progress.h"

namespace klipora::imaging::gif {

// colorIndex and ditherIndex are the settings GIFOptColor and GIFDithering.
// The caller keeps the bitmap, which is left converted to 24 bits per pixel.
std::unique_ptr<TGIFImage> BuildGifImage(Bitmap& bitmap, int colorIndex, int ditherIndex,
                                         GifProgressReceiver* progress = nullptr);

}  // namespace klipora::imaging::gif
