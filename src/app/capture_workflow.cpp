#include "app/capture_workflow.h"

#include <mmsystem.h>

#include <exception>
#include <memory>

#include "app/hotkeys.h"
#include "app/message_box.h"
#include "app/strings.h"
#include "app/tools.h"
#include "app/ui/wide_text.h"
#include "capture/clipboard.h"
#include "capture/screen_capture.h"

namespace klipora {

void ShellSaveActions::playSound(const std::string& file) {
  PlaySoundW(ui::toWide(file).c_str(), nullptr, SND_FILENAME | SND_ASYNC | SND_NODEFAULT);
}

void ShellSaveActions::showSaveError(const std::string& text) {
  ShowMessageBox(text, text::AppTitle, mkError, btOK);
}

void ShellSaveActions::showScreenshotWindow(const std::string& label,
                                            const std::string& picturePath, bool saved) {
  if (openWindow) openWindow(label, picturePath, saved);
}

void CaptureWorkflow::HandleHotKeyMessage(WPARAM id) {
  if (settings_.WaitTimeout) MyTools.WaitMilliseconds(settings_.WaitTime * 1000);
  capture::TCaptureKind kind;
  if (!captureKindForHotKey(id, kind)) return;
  // Each press owns its bitmap; it goes on every path out of here.
  capture::ScreenBitmap screen;
  if (!capture::CaptureArea(screen, kind, settings_.MouseCursor)) return;
  auto pixels = std::make_unique<imaging::Bitmap>(capture::toBitmap24(screen));
  // A clipboard that another program holds must not cost the user the
  // saved file: the failure is reported and the pipeline still runs.
  try {
    copyToClipboard(screen, *pixels);
  } catch (const std::exception& error) {
    ShowMessageBox(error.what(), "", mkError, btOK);
  }
  screen.reset();
  imaging::SaveCapture(pixels, settings_, actions_);
}

void CaptureWorkflow::copyToClipboard(const capture::ScreenBitmap& screen,
                                      const imaging::Bitmap& pixels) {
  if (settings_.CopyScreenshotAsGif2Cllpbrd) {
    capture::copyGifToClipboard(owner_, pixels, settings_.GIFOptColor, settings_.GIFDithering);
  } else {
    capture::copyBitmapToClipboard(owner_, screen);
  }
}

}  // namespace klipora
