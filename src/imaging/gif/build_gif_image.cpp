#include "imaging/gif/build_gif_image.h"

#include "imaging/gif/color_reduction.h"

namespace klipora::imaging::gif {

std::unique_ptr<TGIFImage> BuildGifImage(Bitmap& bitmap, int colorIndex, int ditherIndex,
                                         GifProgressReceiver* progress) {
  const GifModes modes = GifModesFromSettings(colorIndex, ditherIndex);
  Bitmap reduced = ReduceBitmapColors(bitmap, modes.reduction, modes.dither, 0, nullptr);
  auto image = std::make_unique<TGIFImage>();
  image->setProgressReceiver(progress);
  image->assign(reduced);
  return image;
}

}  // namespace klipora::imaging::gif
