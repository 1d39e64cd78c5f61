#include "capture/clipboard.h"

#include <cstring>

#include "app/strings.h"
#include "base/error.h"
#include "imaging/encode_image.h"

namespace klipora::capture {

ClipboardScope::ClipboardScope(HWND owner) {
  for (int attempt = 0; attempt < 10; ++attempt) {
    if (OpenClipboard(owner)) return;
    Sleep(20);
  }
  throw Error(text::ClipboardBusy);
}

void copyBitmapToClipboard(HWND owner, const ScreenBitmap& bitmap) {
  // The clipboard takes ownership of what it is given, so it gets a copy
  // and the caller keeps its bitmap.
  HANDLE copy = CopyImage(bitmap.handle(), IMAGE_BITMAP, 0, 0, 0);
  if (!copy) throw Error(text::ClipboardBusy);
  ClipboardScope open(owner);
  EmptyClipboard();
  if (!SetClipboardData(CF_BITMAP, copy)) {
    DeleteObject(copy);
    throw Error(text::ClipboardBusy);
  }
}

UINT gifClipboardFormat() {
  static const UINT format = RegisterClipboardFormatW(L"GIF Image");
  return format;
}

void copyGifToClipboard(HWND owner, const imaging::Bitmap& capture, int colour, int dither) {
  // The same bytes a save writes: one encoder for both.
  imaging::MemoryStream stream;
  imaging::EncodeOptions options;
  options.format = imaging::ifGIF;
  options.gifColour = colour;
  options.gifDither = dither;
  imaging::EncodeImage(capture, options, stream);
  const std::vector<std::uint8_t>& bytes = stream.bytes();

  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
  if (!block) throw Error(text::ClipboardOutOfMemory);
  if (void* target = GlobalLock(block)) {
    std::memcpy(target, bytes.data(), bytes.size());
    GlobalUnlock(block);
  } else {
    GlobalFree(block);
    throw Error(text::ClipboardOutOfMemory);
  }
  ClipboardScope open(owner);
  EmptyClipboard();
  if (!SetClipboardData(gifClipboardFormat(), block)) {
    GlobalFree(block);
    throw Error(text::GifClipboardRejected);
  }
}

}  // namespace klipora::capture
