#pragma once

namespace klipora::capture {

// What a hotkey captures: the whole screen, the foreground window with its
// frame, or that window's client area.
enum TCaptureKind { ckScreen, ckWindow, ckClient };

}  // namespace klipora::capture
