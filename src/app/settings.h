#pragma once
// Every setting TMain holds, with the defaults of a first start, and the
// load and save of the "Options" section.
#include <cstdint>
#include <string>

#include "app/shortcut.h"
#include "upload/upload_settings.h"

namespace klipora {

class TTheIniFile;

struct TSettings {
  TShortCut HotKey1 = 16506;  // Ctrl+F11
  TShortCut HotKey2 = 122;    // F11
  TShortCut HotKey3 = 32890;  // Alt+F11
  bool WaitTimeout = false;
  int WaitTime = 1;
  bool MouseCursor = false;
  std::string SaveToFolder;
  int SaveType = 0;
  int LocalNum = 4;
  bool CopyScreenshotAsGif2Cllpbrd = false;
  bool ShowScreenshot = true;
  std::string SoundFile;
  int GIFOptColor = 3;
  int GIFDithering = 0;
  int JPEGComp = 90;
  bool FTP = false;
  TFileUploadSettings Upload;

  bool operator==(const TSettings&) const = default;
};

// Sets the section to "Options", opens the file and reads the 25 keys with
// their load rules. Never raises: an unreadable file gives the defaults.
TSettings LoadSettings(TTheIniFile& ini);

// Writes the 25 keys in their order. Raises klipora::Error
// ("In <path> kann nicht geschrieben werden") on the first refused write;
// does nothing when the file could not be opened.
void SaveSettings(TTheIniFile& ini, const TSettings& settings);

}  // namespace klipora
