#include "capture/screen_bitmap.h"

#include "app/ui/handles.h"
#include "base/error.h"

namespace klipora::capture {

bool ScreenBitmap::create(int width, int height) {
  reset();
  if (width <= 0 || height <= 0) return false;
  ui::WindowDc screen(nullptr);
  handle_ = CreateCompatibleBitmap(screen.get(), width, height);
  if (!handle_) return false;
  width_ = width;
  height_ = height;
  return true;
}

void ScreenBitmap::reset() {
  if (handle_) DeleteObject(handle_);
  handle_ = nullptr;
  width_ = height_ = 0;
}

imaging::Bitmap toBitmap24(const ScreenBitmap& screen) {
  if (screen.empty()) throw Error("Kein Bild vorhanden.");
  imaging::Bitmap out(screen.width(), screen.height(), 24);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = screen.width();
  info.bmiHeader.biHeight = -screen.height();  // top-down, as the bitmap type keeps its rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  ui::WindowDc dc(nullptr);
  const int rows = GetDIBits(dc.get(), screen.handle(), 0, static_cast<UINT>(screen.height()),
                             out.row(0), &info, DIB_RGB_COLORS);
  if (rows != screen.height()) throw Error("Das Bild konnte nicht gelesen werden.");
  return out;
}

}  // namespace klipora::capture
