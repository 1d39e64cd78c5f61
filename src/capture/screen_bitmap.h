#pragma once
// A capture as the screen gives it: a device-dependent bitmap in the
// display's pixel format, owned by whoever holds this object.
#include <windows.h>

#include "imaging/bitmap.h"

namespace klipora::capture {

class ScreenBitmap {
 public:
  ScreenBitmap() = default;
  ~ScreenBitmap() { reset(); }
  ScreenBitmap(const ScreenBitmap&) = delete;
  ScreenBitmap& operator=(const ScreenBitmap&) = delete;

  // A bitmap compatible with the screen; false when GDI refuses it.
  bool create(int width, int height);
  void reset();

  HBITMAP handle() const { return handle_; }
  int width() const { return width_; }
  int height() const { return height_; }
  bool empty() const { return handle_ == nullptr; }

 private:
  HBITMAP handle_ = nullptr;
  int width_ = 0;
  int height_ = 0;
};

// The pixels as a 24-bit top-down bitmap, the form every encoder reads.
// Raises klipora::Error when the system cannot deliver them.
imaging::Bitmap toBitmap24(const ScreenBitmap& screen);

}  // namespace klipora::capture
