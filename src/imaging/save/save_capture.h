#pragma once
// What happens to a capture after it is on the clipboard: the sound, the
// numbered file in the save folder, then the screenshot window.
#include <memory>
#include <string>

#include "app/settings.h"
#include "imaging/bitmap.h"

namespace klipora::imaging {

// The platform actions the pipeline triggers; the shell supplies the real
// ones (winmm, message box, screenshot window), tests record them.
class SaveActions {
 public:
  virtual ~SaveActions() = default;
  // Starts playing a WAV file and returns at once; failures stay silent.
  virtual void playSound(const std::string& file) = 0;
  // An error message with caption "Klipora" and an OK button.
  virtual void showSaveError(const std::string& text) = 0;
  // Opens a screenshot window: on the written file (label and picture path
  // set, saved), or on the clipboard image (both empty, not saved).
  virtual void showScreenshotWindow(const std::string& label, const std::string& picturePath,
                                    bool saved) = 0;
};

// Runs the pipeline on the capture. Once a save branch has run, the capture
// is released (the reference is empty) whatever happened; with no branch to
// run, the caller keeps it. Reports every failure itself, never raises.
void SaveCapture(std::unique_ptr<Bitmap>& capture, const TSettings& settings, SaveActions& actions);

}  // namespace klipora::imaging
