#include "imaging/png_writer.h"

#include <png.h>
#include <zlib.h>

#include <csetjmp>
#include <cstring>
#include <string>
#include <vector>

#include "base/error.h"
#include "imaging/pixel_rows.h"

namespace klipora::imaging {
namespace {

constexpr std::size_t kIdatSize = 65535;
constexpr int kLevel = 7;

// libpng reports errors by longjmp; its output is collected here and handed
// to the stream between library calls, so no C++ exception ever crosses
// libpng's C frames.
struct Context {
  std::vector<std::uint8_t> pending;
  std::string message;
};

void onError(png_structp png, png_const_charp message) {
  static_cast<Context*>(png_get_error_ptr(png))->message = message;
  png_longjmp(png, 1);
}

void onWarning(png_structp, png_const_charp) {}

void onWrite(png_structp png, png_bytep data, png_size_t size) {
  bool failed = false;
  try {
    auto& pending = static_cast<Context*>(png_get_io_ptr(png))->pending;
    pending.insert(pending.end(), data, data + size);
  } catch (...) {
    failed = true;
  }
  if (failed) png_error(png, "out of memory");
}

void onFlush(png_structp) {}

class PngStruct {
 public:
  explicit PngStruct(Context& context) {
    png_ = png_create_write_struct(PNG_LIBPNG_VER_STRING, &context, onError, onWarning);
    if (png_) info_ = png_create_info_struct(png_);
    if (!png_ || !info_) {
      png_destroy_write_struct(&png_, &info_);
      throw Error("PNG: out of memory");
    }
    png_set_write_fn(png_, &context, onWrite, onFlush);
  }
  ~PngStruct() { png_destroy_write_struct(&png_, &info_); }
  PngStruct(const PngStruct&) = delete;
  PngStruct& operator=(const PngStruct&) = delete;

  png_structp png() const { return png_; }
  png_infop info() const { return info_; }

 private:
  png_structp png_ = nullptr;
  png_infop info_ = nullptr;
};

// Runs one libpng call; a libpng error comes back as klipora::Error and
// whatever the call produced goes to the stream.
template <typename Call>
void pngCall(const PngStruct& png, Context& context, OutputStream& out, Call call) {
  if (setjmp(png_jmpbuf(png.png()))) throw Error("PNG: " + context.message);
  call();
  out.write(context.pending.data(), context.pending.size());
  context.pending.clear();
}

class Deflater {
 public:
  Deflater() {
    if (deflateInit2(&stream_, kLevel, Z_DEFLATED, 15, 8, Z_DEFAULT_STRATEGY) != Z_OK) {
      throw Error("PNG: cannot start compression");
    }
  }
  ~Deflater() { deflateEnd(&stream_); }
  Deflater(const Deflater&) = delete;
  Deflater& operator=(const Deflater&) = delete;
  z_stream& stream() { return stream_; }

 private:
  z_stream stream_{};
};

}  // namespace

void writePng(const Bitmap& bitmap, OutputStream& out) {
  const int depth = bitmap.bitsPerPixel();
  const bool palette = depth <= 8;
  const auto width = static_cast<std::size_t>(bitmap.width());
  const std::size_t rowBytes = palette ? (width * depth + 7) / 8 : width * 3;
  const std::size_t pixelBytes = palette ? 1 : 3;  // the Sub filter's distance

  Context context;
  const PngStruct png(context);
  std::vector<png_color> colours;
  if (palette) {
    colours.resize(std::size_t{1} << depth);  // the whole table; entries the bitmap lacks are black
    for (std::size_t i = 0; i < colours.size() && i < bitmap.palette().size(); ++i) {
      colours[i] = {bitmap.palette()[i].red, bitmap.palette()[i].green, bitmap.palette()[i].blue};
    }
  }
  pngCall(png, context, out, [&] {
    png_set_IHDR(png.png(), png.info(), static_cast<png_uint_32>(bitmap.width()),
                 static_cast<png_uint_32>(bitmap.height()), palette ? depth : 8,
                 palette ? PNG_COLOR_TYPE_PALETTE : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (palette)
      png_set_PLTE(png.png(), png.info(), colours.data(), static_cast<int>(colours.size()));
    png_write_info(png.png(), png.info());
  });

  Deflater deflater;
  z_stream& z = deflater.stream();
  std::vector<std::uint8_t> chunk(kIdatSize);
  z.next_out = chunk.data();
  z.avail_out = static_cast<uInt>(chunk.size());
  const auto emit = [&](std::size_t size) {
    pngCall(png, context, out, [&] {
      png_write_chunk(png.png(), reinterpret_cast<png_const_bytep>("IDAT"), chunk.data(), size);
    });
    z.next_out = chunk.data();
    z.avail_out = static_cast<uInt>(chunk.size());
  };
  const auto feed = [&](std::uint8_t* data, std::size_t size, int flush) {
    z.next_in = data;
    z.avail_in = static_cast<uInt>(size);
    for (;;) {
      const int result = deflate(&z, flush);
      if (result != Z_OK && result != Z_STREAM_END && result != Z_BUF_ERROR) {
        throw Error("PNG: compression failed");
      }
      if (z.avail_out == 0) emit(chunk.size());
      if (flush == Z_FINISH ? result == Z_STREAM_END : z.avail_in == 0) break;
    }
  };

  std::vector<std::uint8_t> row(rowBytes);
  std::vector<std::uint8_t> filtered(rowBytes + 1);
  filtered[0] = 1;  // filter type Sub
  for (int y = 0; y < bitmap.height(); ++y) {
    if (palette) {
      std::memcpy(row.data(), bitmap.row(y), rowBytes);
    } else {
      readRgb24Row(bitmap, y, row.data());
    }
    for (std::size_t i = 0; i < rowBytes; ++i) {
      filtered[i + 1] =
          static_cast<std::uint8_t>(row[i] - (i >= pixelBytes ? row[i - pixelBytes] : 0));
    }
    feed(filtered.data(), filtered.size(), Z_NO_FLUSH);
  }
  feed(nullptr, 0, Z_FINISH);
  if (const std::size_t rest = chunk.size() - z.avail_out; rest > 0) emit(rest);

  pngCall(png, context, out, [&] {
    png_write_chunk(png.png(), reinterpret_cast<png_const_bytep>("IEND"), nullptr, 0);
  });
}

}  // namespace klipora::imaging
