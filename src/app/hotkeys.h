#pragma once
// The three system-wide capture hotkeys of the main window.
#include <windows.h>

#include <array>

#include "app/settings.h"
#include "capture/capture_kind.h"

namespace klipora {

// Identifiers 65306..65308: whole screen, active window, its client area.
inline constexpr int kHotKeyIds[3] = {0xFF1A, 0xFF1B, 0xFF1C};

// The capture kind a hotkey identifier asks for; false for any other id.
bool captureKindForHotKey(WPARAM id, capture::TCaptureKind& kind);

class HotKeys {
 public:
  explicit HotKeys(HWND owner) : owner_(owner) {}
  ~HotKeys() { UnregisterHotKeys(); }
  HotKeys(const HotKeys&) = delete;
  HotKeys& operator=(const HotKeys&) = delete;

  // Releases what is registered, then registers every non-zero hotkey; a
  // refused one is reported and the others still go on.
  void RegisterHotKeys(const TSettings& settings);
  void UnregisterHotKeys();
  bool registered(int index) const { return registered_[index]; }
  void clearFlags() { registered_ = {}; }

 private:
  HWND owner_;
  std::array<bool, 3> registered_{};
};

}  // namespace klipora
