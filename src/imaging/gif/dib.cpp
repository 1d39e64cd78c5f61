#include "imaging/gif/dib.h"

#include <new>
#include <utility>

#include "app/strings.h"
#include "base/error.h"
#include "imaging/gif/gif_exception.h"
#include "imaging/gif/gif_messages.h"

namespace klipora::imaging::gif {

namespace {

void checkRow(int y, int height) {
  if (y < 0 || y >= height) throw Error(text::RowIndexOutOfRange);
}

}  // namespace

TDIBReader::TDIBReader(Bitmap& bitmap) : bitmap_(bitmap) { bitmap_.convertTo24Bits(); }

const std::uint8_t* TDIBReader::GetRow(int y) const {
  checkRow(y, bitmap_.height());
  return bitmap_.row(y);
}

TDIBWriter::TDIBWriter(Bitmap& target, const Palette& palette, int height, int width, int bits)
    : target_(target), palette_(palette), height_(height), width_(width), bits_(bits) {
  if (bits != 8 && bits != 24) throw GIFException(msg::UnsupportedPixelFormat);
  if (width <= 0 || height <= 0) throw GIFException("Invalid image dimensions");
}

std::uint8_t* TDIBWriter::GetRow(int y) {
  if (!result_) {
    try {
      result_.emplace(width_, height_, bits_);
    } catch (const std::bad_alloc&) {
      throw GIFException("Failed to allocate memory for GIF DIB");
    }
    if (bits_ == 8) {
      // Always a full table: the entries after the palette's own are black.
      Palette table(256);
      for (std::size_t i = 0; i < palette_.size() && i < table.size(); ++i) {
        table[i] = {palette_[i].red, palette_[i].green, palette_[i].blue, 0};
      }
      result_->palette() = std::move(table);
    }
  }
  checkRow(y, height_);
  return result_->row(y);
}

void TDIBWriter::deliver() {
  if (!result_) GetRow(0);
  target_ = std::move(*result_);
  result_.reset();
}

}  // namespace klipora::imaging::gif
