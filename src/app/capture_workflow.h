#pragma once
// One hotkey press from the delay to the released bitmap: capture, the
// clipboard copy, then the save pipeline.
#include <windows.h>

#include <functional>
#include <string>

#include "app/settings.h"
#include "capture/capture_kind.h"
#include "capture/screen_bitmap.h"
#include "imaging/save/save_capture.h"

namespace klipora {

// The pipeline's platform actions on Win32: winmm sound, message box, and
// the screenshot window (opened through `openWindow`; empty until the viewer
// exists, which then shows nothing).
class ShellSaveActions : public imaging::SaveActions {
 public:
  using OpenWindow =
      std::function<void(const std::string& label, const std::string& picturePath, bool saved)>;
  void playSound(const std::string& file) override;
  void showSaveError(const std::string& text) override;
  void showScreenshotWindow(const std::string& label, const std::string& picturePath,
                            bool saved) override;
  OpenWindow openWindow;
};

class CaptureWorkflow {
 public:
  // `settings` are read at each press, as the main window holds them then.
  CaptureWorkflow(HWND owner, const TSettings& settings) : owner_(owner), settings_(settings) {}

  // WM_HOTKEY: waits first when the delay is on (the message loop runs on,
  // so a second press is handled inside this one), then captures, copies to
  // the clipboard and hands the capture to the save pipeline.
  void HandleHotKeyMessage(WPARAM id);

  ShellSaveActions& saveActions() { return actions_; }

 private:
  // As a bitmap, or as the GIF a save with the current settings writes.
  void copyToClipboard(const capture::ScreenBitmap& screen, const imaging::Bitmap& pixels);

  HWND owner_;
  const TSettings& settings_;
  ShellSaveActions actions_;
};

}  // namespace klipora
