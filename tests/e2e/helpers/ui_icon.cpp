#include "ui_icon.h"

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

namespace klipora::uihelper {
namespace {

struct DcDeleter {
  void operator()(HDC dc) const { DeleteDC(dc); }
};
struct ObjectDeleter {
  void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
using MemoryDc = std::unique_ptr<std::remove_pointer_t<HDC>, DcDeleter>;
using Bitmap = std::unique_ptr<std::remove_pointer_t<HGDIOBJ>, ObjectDeleter>;

class ScreenDc {
 public:
  ScreenDc() : dc_(GetDC(nullptr)) {}
  ~ScreenDc() { ReleaseDC(nullptr, dc_); }
  ScreenDc(const ScreenDc&) = delete;
  ScreenDc& operator=(const ScreenDc&) = delete;
  HDC get() const { return dc_; }

 private:
  HDC dc_;
};

// A 32-bit top-down DIB section selected into a memory DC.
class Canvas {
 public:
  Canvas(int width, int height) : width_(width), height_(height), dc_(CreateCompatibleDC(nullptr)) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap_.reset(CreateDIBSection(dc_.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    bits_ = static_cast<std::uint32_t*>(bits);
    old_ = SelectObject(dc_.get(), bitmap_.get());
  }
  ~Canvas() { SelectObject(dc_.get(), old_); }
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  HDC dc() const { return dc_.get(); }
  std::uint32_t pixel(int x, int y) const { return bits_[y * width_ + x]; }
  void fill(std::uint32_t bgrx) {
    for (int i = 0; i < width_ * height_; ++i) bits_[i] = bgrx;
  }
  double distance(const Canvas& other) const {
    long long sum = 0;
    for (int i = 0; i < width_ * height_; ++i) {
      for (int shift = 0; shift < 24; shift += 8) {
        sum += std::abs(static_cast<int>((bits_[i] >> shift) & 0xFF) -
                        static_cast<int>((other.bits_[i] >> shift) & 0xFF));
      }
    }
    return static_cast<double>(sum) / (3.0 * width_ * height_);
  }

 private:
  int width_, height_;
  MemoryDc dc_;
  Bitmap bitmap_;
  std::uint32_t* bits_ = nullptr;
  HGDIOBJ old_ = nullptr;
};

}  // namespace

IconMatch identifyStockIcon(HWND iconStatic) {
  if (!iconStatic || !IsWindowVisible(iconStatic)) return {"none", 0.0};
  DWORD_PTR iconHandle = 0;  // only tells whether there is one
  SendMessageTimeoutW(iconStatic, STM_GETICON, 0, 0, SMTO_ABORTIFHUNG, 2000, &iconHandle);
  if (!iconHandle) return {"none", 0.0};
  RECT rect{};
  GetClientRect(iconStatic, &rect);
  POINT origin{0, 0};
  ClientToScreen(iconStatic, &origin);
  const int width = rect.right, height = rect.bottom;
  if (width <= 0 || height <= 0) return {"none", 0.0};

  Canvas shown(width, height);
  {
    ScreenDc screen;
    BitBlt(shown.dc(), 0, 0, width, height, screen.get(), origin.x, origin.y, SRCCOPY);
  }
  const std::uint32_t background = shown.pixel(0, 0);

  struct Candidate {
    const char* name;
    LPCWSTR id;
  };
  const Candidate candidates[] = {{"none", nullptr},
                                  {"exclamation", IDI_EXCLAMATION},
                                  {"hand", IDI_HAND},
                                  {"question", IDI_QUESTION},
                                  {"asterisk", IDI_ASTERISK}};
  IconMatch best{"none", 1e9};
  for (const auto& candidate : candidates) {
    Canvas drawn(width, height);
    drawn.fill(background);
    if (candidate.id) {
      HICON icon = LoadIconW(nullptr, candidate.id);  // shared: not destroyed
      DrawIconEx(drawn.dc(), 0, 0, icon, width, height, 0, nullptr, DI_NORMAL);
    }
    const double d = shown.distance(drawn);
    if (d < best.distance) best = {candidate.name, d};
  }
  return best;
}

}  // namespace klipora::uihelper
