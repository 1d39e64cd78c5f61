#pragma once
// Copies the screen, the foreground window or its client area into a
// bitmap, optionally with the mouse pointer drawn in.
#include <windows.h>

#include "capture/capture_kind.h"
#include "capture/screen_bitmap.h"

namespace klipora::capture {

// Fills `bitmap` with the area of `kind`. A target partly outside the
// screen is captured as far as it is visible, after a warning. Returns
// false, after telling the user, when there is no window to capture (no
// foreground window, an unreadable or empty rectangle) or no memory for the
// bitmap; the bitmap is then left empty.
bool CaptureArea(ScreenBitmap& bitmap, TCaptureKind kind, bool drawPointer);

// GetCursorInfo when the system offers it (looked up at every call).
bool QueryCursorInfo(CURSORINFO& info);

}  // namespace klipora::capture
