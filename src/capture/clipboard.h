#pragma once
// Puts a capture on the clipboard: as a bitmap, or as the GIF a save with
// the same colour settings would write.
#include <windows.h>

#include "capture/screen_bitmap.h"
#include "imaging/bitmap.h"

namespace klipora::capture {

// Empties the clipboard and gives it a copy of the bitmap in the standard
// bitmap format. Raises klipora::Error ("Zwischenablage kann nicht geöffnet
// werden") when another program holds the clipboard.
void copyBitmapToClipboard(HWND owner, const ScreenBitmap& bitmap);

// The registered clipboard format "GIF Image".
UINT gifClipboardFormat();

// Replaces the clipboard's content by exactly one format, "GIF Image",
// holding the complete GIF stream. Raises klipora::Error when the clipboard
// is held by another program, memory runs out or the encoding fails.
void copyGifToClipboard(HWND owner, const imaging::Bitmap& capture, int colour, int dither);

// Opens the clipboard for one scope, retrying briefly: other programs hold
// it for a moment after every change.
class ClipboardScope {
 public:
  explicit ClipboardScope(HWND owner);
  ~ClipboardScope() { CloseClipboard(); }
  ClipboardScope(const ClipboardScope&) = delete;
  ClipboardScope& operator=(const ClipboardScope&) = delete;
};

}  // namespace klipora::capture
