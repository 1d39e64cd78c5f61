#include "encode.h"

#include <charconv>
#include <cstdio>
#include <string>

#include "base/error.h"
#include "image_input.h"
#include "imaging/encode_image.h"
#include "imaging/gif/build_gif_image.h"
#include "imaging/output_stream.h"

namespace klipora::kliptool {
namespace {

int parseNumber(std::string_view text) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) {
    throw Error("Not a number: " + std::string(text));
  }
  return value;
}

}  // namespace

int runEncode(Args args) {
  if (args.size() < 2) {
    std::fprintf(stderr, "usage: kliptool %s\n", kEncodeUsage);
    return 2;
  }
  std::string format = "gif";
  int colour = 3;  // the settings' defaults
  int dither = 0;
  int quality = 90;
  for (std::size_t i = 2; i < args.size(); ++i) {
    if (i + 1 >= args.size()) throw Error("Missing value for " + std::string(args[i]));
    if (args[i] == "--format") {
      format = args[++i];
    } else if (args[i] == "--colour") {
      colour = parseNumber(args[++i]);
    } else if (args[i] == "--dither") {
      dither = parseNumber(args[++i]);
    } else if (args[i] == "--quality") {
      quality = parseNumber(args[++i]);
    } else {
      throw Error("Unknown option " + std::string(args[i]));
    }
  }
  imaging::Bitmap bitmap = readImageFile(std::string(args[0]));
  if (format != "gif") {
    // The other formats go through the program's one encode interface.
    const std::pair<std::string_view, imaging::ImageFormat> formats[] = {{"jpeg", imaging::ifJPEG},
                                                                         {"bmp", imaging::ifBMP},
                                                                         {"png", imaging::ifPNG},
                                                                         {"tiff", imaging::ifTIFF}};
    for (const auto& [name, id] : formats) {
      if (format == name) {
        imaging::EncodeImage(bitmap, {id, colour, dither, quality}, std::string(args[1]));
        return 0;
      }
    }
    throw Error("Unsupported format: " + format);
  }
  const auto image = imaging::gif::BuildGifImage(bitmap, colour, dither);
  bitmap = imaging::Bitmap();  // the capture is no longer needed; keep the peak low
  image->saveToFile(std::string(args[1]));
  return 0;
}

}  // namespace klipora::kliptool
