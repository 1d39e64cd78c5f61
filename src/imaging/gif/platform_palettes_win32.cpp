#include <windows.h>

#include <string>

#include "app/strings.h"
#include "base/error.h"
#include "imaging/gif/platform_palettes.h"

namespace klipora::imaging::gif {

namespace {

struct PaletteHandle {
  HPALETTE handle;
  ~PaletteHandle() {
    if (handle) DeleteObject(handle);
  }
};

struct ScreenDc {
  HDC dc = GetDC(nullptr);
  ~ScreenDc() {
    if (dc) ReleaseDC(nullptr, dc);
  }
};

std::string lastErrorText() {
  const DWORD code = GetLastError();
  if (code == 0) return text::SystemResourcesExhausted;
  wchar_t* buffer = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::string result;
  if (length != 0 && buffer) {
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, buffer, static_cast<int>(length), nullptr, 0,
                                          nullptr, nullptr);
    result.resize(static_cast<std::size_t>(bytes));
    WideCharToMultiByte(CP_UTF8, 0, buffer, static_cast<int>(length), result.data(), bytes, nullptr,
                        nullptr);
    while (!result.empty() && (result.back() == '\n' || result.back() == '\r')) result.pop_back();
  }
  if (buffer) LocalFree(buffer);
  return result.empty() ? std::string(text::SystemResourcesExhausted) : result;
}

Palette entriesOf(HPALETTE palette) {
  PALETTEENTRY entries[256];
  const UINT count = GetPaletteEntries(palette, 0, 256, entries);
  Palette result;
  result.reserve(count);
  for (UINT i = 0; i < count; ++i) {
    result.push_back({entries[i].peRed, entries[i].peGreen, entries[i].peBlue, entries[i].peFlags});
  }
  return result;
}

class Win32Palettes final : public PlatformPalettes {
 public:
  Palette stockDefaultPalette() override {
    // Stock objects are never deleted.
    return entriesOf(static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)));
  }

  Palette halftonePalette() override {
    SetLastError(0);
    PaletteHandle palette{nullptr};
    {
      ScreenDc screen;
      if (!screen.dc) throw Error(lastErrorText());
      palette.handle = CreateHalftonePalette(screen.dc);
    }
    if (!palette.handle) throw Error(lastErrorText());
    return entriesOf(palette.handle);
  }
};

}  // namespace

PlatformPalettes& platformPalettes() {
  static Win32Palettes palettes;
  return palettes;
}

}  // namespace klipora::imaging::gif
