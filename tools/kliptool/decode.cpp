#include "decode.h"

// libjpeg's header needs size_t and FILE declared first.
#include <cstddef>
#include <cstdio>
// clang-format off
#include <jpeglib.h>
// clang-format on
#include <png.h>

#include <csetjmp>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "base/error.h"
#include "imaging/bmp_file.h"
#include "imaging/gif/gif_image.h"
#include "imaging/output_stream.h"
#include "imaging/pixel_rows.h"
#include "imaging/tiff/tiff_file.h"

namespace klipora::kliptool {
namespace {

using imaging::Bitmap;
using Bytes = std::vector<std::uint8_t>;

Bytes readAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw Error("Cannot open " + path);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool startsWith(const Bytes& data, std::string_view magic) {
  return data.size() >= magic.size() && std::memcmp(data.data(), magic.data(), magic.size()) == 0;
}

Bitmap decodePng(const Bytes& data) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, data.data(), data.size())) {
    throw Error(std::string("PNG: ") + image.message);
  }
  image.format = PNG_FORMAT_BGR;
  Bitmap bitmap(static_cast<int>(image.width), static_cast<int>(image.height), 24);
  if (!png_image_finish_read(&image, nullptr, bitmap.row(0),
                             static_cast<png_int_32>(bitmap.stride()), nullptr)) {
    png_image_free(&image);
    throw Error(std::string("PNG: ") + image.message);
  }
  return bitmap;
}

struct JpegErrors {
  jpeg_error_mgr manager{};
  std::jmp_buf jump{};
  char message[JMSG_LENGTH_MAX] = {};
};

void onJpegError(j_common_ptr info) {
  auto* errors = reinterpret_cast<JpegErrors*>(info->err);
  info->err->format_message(info, errors->message);
  std::longjmp(errors->jump, 1);
}

class Decompressor {
 public:
  explicit Decompressor(JpegErrors& errors) {
    info_.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = onJpegError;
  }
  ~Decompressor() { jpeg_destroy_decompress(&info_); }
  Decompressor(const Decompressor&) = delete;
  Decompressor& operator=(const Decompressor&) = delete;
  jpeg_decompress_struct& info() { return info_; }

 private:
  jpeg_decompress_struct info_{};
};

Bitmap decodeJpeg(const Bytes& data) {
  JpegErrors errors;
  Bitmap bitmap;
  Decompressor decompressor(errors);
  jpeg_decompress_struct& info = decompressor.info();
  if (setjmp(errors.jump)) throw Error(std::string("JPEG: ") + errors.message);
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, data.data(), static_cast<unsigned long>(data.size()));
  jpeg_read_header(&info, TRUE);
  info.out_color_space = JCS_RGB;
  jpeg_start_decompress(&info);
  bitmap = Bitmap(static_cast<int>(info.output_width), static_cast<int>(info.output_height), 24);
  while (info.output_scanline < info.output_height) {
    std::uint8_t* row = bitmap.row(static_cast<int>(info.output_scanline));
    JSAMPROW rows[1] = {row};
    jpeg_read_scanlines(&info, rows, 1);
    for (JDIMENSION x = 0; x < info.output_width; ++x) std::swap(row[3 * x], row[3 * x + 2]);
  }
  jpeg_finish_decompress(&info);
  return bitmap;
}

Bitmap decode(const Bytes& data) {
  if (startsWith(data, "II") || startsWith(data, "MM")) {
    imaging::tiff::TTIFFFile tiff;
    tiff.LoadFromStream(data);
    return tiff.takeBitmap();
  }
  if (startsWith(data, "BM")) return imaging::readBmp(data);
  if (startsWith(data, "\x89PNG")) return decodePng(data);
  if (startsWith(data, "\xFF\xD8")) return decodeJpeg(data);
  if (startsWith(data, "GIF8")) {
    imaging::gif::TGIFImage gif;
    gif.loadFromMemory(data);
    return gif.bitmap();
  }
  throw Error("Unknown image format");
}

void writePpm(const Bitmap& bitmap, const std::string& path) {
  imaging::FileStream out(path);
  try {
    const std::string header =
        "P6\n" + std::to_string(bitmap.width()) + " " + std::to_string(bitmap.height()) + "\n255\n";
    out.write(header.data(), header.size());
    std::vector<std::uint8_t> row(static_cast<std::size_t>(bitmap.width()) * 3);
    for (int y = 0; y < bitmap.height(); ++y) {
      imaging::readRgb24Row(bitmap, y, row.data());
      out.write(row.data(), row.size());
    }
    out.close();
  } catch (...) {
    out.discard();
    throw;
  }
}

}  // namespace

int runDecode(Args args) {
  if (args.size() != 2) {
    std::fprintf(stderr, "usage: kliptool %s\n", kDecodeUsage);
    return 2;
  }
  writePpm(decode(readAll(std::string(args[0]))), std::string(args[1]));
  return 0;
}

}  // namespace klipora::kliptool
