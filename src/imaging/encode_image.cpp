#include "imaging/encode_image.h"

#include "base/error.h"
#include "imaging/bmp_file.h"
#include "imaging/gif/build_gif_image.h"
#include "imaging/jpeg_writer.h"
#include "imaging/png_writer.h"
#include "imaging/tiff/tiff_file.h"

namespace klipora::imaging {
namespace {

void checkEncodable(const Bitmap& bitmap, const EncodeOptions& options) {
  if (bitmap.empty())
    throw Error("Image is empty: " + std::to_string(bitmap.width()) + " x " +
                std::to_string(bitmap.height()));
  if (!imageFormatFromIndex(options.format))
    throw Error("Unknown image format " + std::to_string(options.format));
}

void encode(const Bitmap& bitmap, const EncodeOptions& options, OutputStream& out) {
  switch (options.format) {
    case ifGIF: {
      // The reduction works on a copy: the caller's bitmap stays as it is.
      Bitmap copy = bitmap;
      const auto image = gif::BuildGifImage(copy, options.gifColour, options.gifDither);
      image->saveToStream(out);
      break;
    }
    case ifJPEG:
      writeJpeg(bitmap, options.jpegQuality, out);
      break;
    case ifBMP:
      writeBmp(bitmap, out);
      break;
    case ifPNG:
      writePng(bitmap, out);
      break;
    case ifTIFF: {
      tiff::TTIFFFile file;
      file.AssignBitmap(bitmap);
      file.SaveToStream(out);
      break;
    }
  }
}

}  // namespace

void EncodeImage(const Bitmap& bitmap, const EncodeOptions& options, const std::string& path) {
  checkEncodable(bitmap, options);
  FileStream file(path);
  try {
    encode(bitmap, options, file);
    file.close();
  } catch (...) {
    file.discard();
    throw;
  }
}

void EncodeImage(const Bitmap& bitmap, const EncodeOptions& options, MemoryStream& stream) {
  checkEncodable(bitmap, options);
  encode(bitmap, options, stream);
}

}  // namespace klipora::imaging
