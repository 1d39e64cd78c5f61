#include "imaging/jpeg_writer.h"

// libjpeg's header needs size_t and FILE declared first.
#include <cstddef>
#include <cstdio>
// clang-format off
#include <jpeglib.h>
// clang-format on

#include <algorithm>
#include <csetjmp>
#include <exception>
#include <string>
#include <vector>

#include "base/error.h"
#include "imaging/pixel_rows.h"

namespace klipora::imaging {
namespace {

constexpr std::size_t kBufferSize = 64 * 1024;

// libjpeg reports errors by longjmp back into writeJpeg; a failure of the
// stream is caught in the callback and rethrown from there, so no C++
// exception crosses libjpeg's C frames.
struct Context {
  jpeg_error_mgr errors{};
  jpeg_destination_mgr destination{};
  std::jmp_buf jump{};
  OutputStream* out = nullptr;
  std::vector<std::uint8_t> buffer;
  std::exception_ptr failure;
  char message[JMSG_LENGTH_MAX] = {};
};

Context& contextOf(j_common_ptr info) { return *static_cast<Context*>(info->client_data); }

void onError(j_common_ptr info) {
  Context& context = contextOf(info);
  info->err->format_message(info, context.message);
  std::longjmp(context.jump, 1);
}

void onMessage(j_common_ptr, int) {}

void flushBuffer(j_compress_ptr info, std::size_t size) {
  Context& context = contextOf(reinterpret_cast<j_common_ptr>(info));
  try {
    context.out->write(context.buffer.data(), size);
  } catch (...) {
    context.failure = std::current_exception();
  }
  if (context.failure) std::longjmp(context.jump, 1);
  context.destination.next_output_byte = context.buffer.data();
  context.destination.free_in_buffer = context.buffer.size();
}

void onInit(j_compress_ptr info) {
  Context& context = contextOf(reinterpret_cast<j_common_ptr>(info));
  context.destination.next_output_byte = context.buffer.data();
  context.destination.free_in_buffer = context.buffer.size();
}

boolean onBufferFull(j_compress_ptr info) {
  flushBuffer(info, contextOf(reinterpret_cast<j_common_ptr>(info)).buffer.size());
  return TRUE;
}

void onTerminate(j_compress_ptr info) {
  Context& context = contextOf(reinterpret_cast<j_common_ptr>(info));
  flushBuffer(info, context.buffer.size() - context.destination.free_in_buffer);
}

class Compressor {
 public:
  explicit Compressor(Context& context) {
    info_.err = jpeg_std_error(&context.errors);
    context.errors.error_exit = onError;
    context.errors.emit_message = onMessage;
    info_.client_data = &context;
  }
  ~Compressor() { jpeg_destroy_compress(&info_); }
  Compressor(const Compressor&) = delete;
  Compressor& operator=(const Compressor&) = delete;
  jpeg_compress_struct& info() { return info_; }

 private:
  jpeg_compress_struct info_{};
};

}  // namespace

void writeJpeg(const Bitmap& bitmap, int quality, OutputStream& out) {
  Context context;
  context.out = &out;
  context.buffer.resize(kBufferSize);
  context.destination.init_destination = onInit;
  context.destination.empty_output_buffer = onBufferFull;
  context.destination.term_destination = onTerminate;
  std::vector<std::uint8_t> row(static_cast<std::size_t>(bitmap.width()) * 3);
  Compressor compressor(context);
  jpeg_compress_struct& info = compressor.info();

  if (setjmp(context.jump)) {
    if (context.failure) std::rethrow_exception(context.failure);
    throw Error(std::string("JPEG: ") + context.message);
  }
  jpeg_create_compress(&info);
  info.dest = &context.destination;
  info.image_width = static_cast<JDIMENSION>(bitmap.width());
  info.image_height = static_cast<JDIMENSION>(bitmap.height());
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, std::clamp(quality, 1, 100), TRUE);
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    readRgb24Row(bitmap, static_cast<int>(info.next_scanline), row.data());
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&info, rows, 1);
  }
  jpeg_finish_compress(&info);
}

}  // namespace klipora::imaging
