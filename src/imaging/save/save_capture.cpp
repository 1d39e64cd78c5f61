#include "imaging/save/save_capture.h"

#include <exception>

#include "app/strings.h"
#include "base/file_system.h"
#include "imaging/encode_image.h"
#include "imaging/save/file_naming.h"

namespace klipora::imaging {
namespace {

EncodeOptions encodeOptionsFrom(const TSettings& settings) {
  EncodeOptions options;
  // A stored format outside the known ones (a hand-edited file) saves as
  // GIF, the default, rather than losing the capture.
  options.format = imageFormatFromIndex(settings.SaveType).value_or(ifGIF);
  options.gifColour = settings.GIFOptColor;
  options.gifDither = settings.GIFDithering;
  options.jpegQuality = settings.JPEGComp;
  return options;
}

std::string withTrailingBackslash(std::string folder) {
  if (!folder.empty() && folder.back() != '\\') folder += '\\';
  return folder;
}

// Writes the next numbered file; the full path, or empty after a failure
// that has been reported.
std::string saveLocally(const Bitmap& capture, const TSettings& settings, SaveActions& actions) {
  // A failure here shows up as the write's failure below.
  fs::createDirectories(settings.SaveToFolder);
  const EncodeOptions options = encodeOptionsFrom(settings);
  std::string path = withTrailingBackslash(settings.SaveToFolder);
  try {
    path += NextLocalName(path, extensionOf(options.format), settings.LocalNum);
    EncodeImage(capture, options, path);
    return path;
  } catch (const std::exception&) {
    actions.showSaveError(std::string(text::CannotSaveFileBefore) + path +
                          text::CannotSaveFileAfter);
    return {};
  }
}

}  // namespace

void SaveCapture(std::unique_ptr<Bitmap>& capture, const TSettings& settings,
                 SaveActions& actions) {
  if (!capture) return;
  if (!settings.SoundFile.empty()) actions.playSound(settings.SoundFile);

  std::string resultName;
  if (!settings.SaveToFolder.empty() && !settings.FTP) {
    // The capture goes on every path out of this branch.
    const std::unique_ptr<Bitmap> owned = std::move(capture);
    resultName = saveLocally(*owned, settings, actions);
  }

  if (settings.ShowScreenshot) {
    if (resultName.empty()) {
      actions.showScreenshotWindow({}, {}, false);
    } else {
      actions.showScreenshotWindow(resultName, resultName, true);
    }
  }
}

}  // namespace klipora::imaging
