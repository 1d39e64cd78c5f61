#include "app/settings.h"

#include "app/the_ini_file.h"

namespace klipora {
namespace {

constexpr const char* kSection = "Options";

bool inRange(int value, int low, int high) { return value >= low && value <= high; }

// An integer key whose failed read (missing, not an integer) or value
// outside [low, high] gives the default.
int readRanged(TTheIniFile& ini, const char* key, int defaultValue, int low, int high) {
  const int value = ini.ReadInteger(key, defaultValue);
  return ini.ErrorCode() == 0 && inRange(value, low, high) ? value : defaultValue;
}

// Only the low 16 bits of a stored shortcut count.
TShortCut readShortCut(TTheIniFile& ini, const char* key, TShortCut defaultValue) {
  return static_cast<TShortCut>(ini.ReadInteger(key, defaultValue) & 0xFFFF);
}

}  // namespace

TSettings LoadSettings(TTheIniFile& ini) {
  ini.setSection(kSection);
  ini.setOpen(true);
  const TSettings d;
  TSettings s;
  s.HotKey1 = readShortCut(ini, "HotKey1", d.HotKey1);
  s.HotKey2 = readShortCut(ini, "HotKey2", d.HotKey2);
  s.HotKey3 = readShortCut(ini, "HotKey3", d.HotKey3);
  s.WaitTimeout = ini.ReadBool("WaitTimeout", d.WaitTimeout);
  s.WaitTime = ini.ReadInteger("WaitTime", d.WaitTime);
  s.MouseCursor = ini.ReadBool("MouseCursor", d.MouseCursor);
  s.SaveToFolder = ini.ReadString("SaveToFolder", d.SaveToFolder);
  s.SaveType = ini.ReadInteger("SaveType", d.SaveType);
  s.LocalNum = ini.ReadInteger("LocalNum", d.LocalNum);
  s.CopyScreenshotAsGif2Cllpbrd =
      ini.ReadBool("CopyScreenshotAsGif2Cllpbrd", d.CopyScreenshotAsGif2Cllpbrd);
  // A present value that is not an integer reads as false here; only a
  // missing key gives the default.
  s.ShowScreenshot = ini.ReadBool("ShowScreenshot", false);
  if (ini.ErrorCode() != 0) s.ShowScreenshot = d.ShowScreenshot;
  s.SoundFile = ini.ReadString("SoundFile", d.SoundFile);
  s.GIFOptColor = readRanged(ini, "GIFOptColor", d.GIFOptColor, 0, 3);
  s.GIFDithering = readRanged(ini, "GIFDithering", d.GIFDithering, 0, 6);
  s.JPEGComp = readRanged(ini, "JPEGComp", d.JPEGComp, 1, 100);
  s.FTP = ini.ReadBool("FTP", d.FTP);
  TFileUploadSettings& u = s.Upload;
  u.Domain = ini.ReadString("Domain", d.Upload.Domain);
  u.FTPUpload = ini.ReadBool("FTPUpload", d.Upload.FTPUpload);
  u.FTPServer = ini.ReadString("FTPServer", d.Upload.FTPServer);
  u.FTPUserName = ini.ReadString("FTPUserName", d.Upload.FTPUserName);
  u.FTPPassword = ini.ReadString("FTPPassword", d.Upload.FTPPassword);
  u.FTPPort = ini.ReadInteger("FTPPort", d.Upload.FTPPort);
  u.FTPPassive = ini.ReadBool("FTPPassive", d.Upload.FTPPassive);
  u.FTPDir = ini.ReadString("FTPDir", d.Upload.FTPDir);
  u.HTTPUploadScript = ini.ReadString("HTTPUploadScript", d.Upload.HTTPUploadScript);
  return s;
}

void SaveSettings(TTheIniFile& ini, const TSettings& s) {
  ini.setSection(kSection);
  ini.setOpen(true);
  if (!ini.Open()) return;
  ini.WriteInteger("HotKey1", s.HotKey1);
  ini.WriteInteger("HotKey2", s.HotKey2);
  ini.WriteInteger("HotKey3", s.HotKey3);
  ini.WriteBool("WaitTimeout", s.WaitTimeout);
  ini.WriteInteger("WaitTime", s.WaitTime);
  ini.WriteBool("MouseCursor", s.MouseCursor);
  ini.WriteString("SaveToFolder", s.SaveToFolder);
  ini.WriteInteger("SaveType", s.SaveType);
  ini.WriteInteger("LocalNum", s.LocalNum);
  ini.WriteBool("CopyScreenshotAsGif2Cllpbrd", s.CopyScreenshotAsGif2Cllpbrd);
  ini.WriteBool("ShowScreenshot", s.ShowScreenshot);
  ini.WriteString("SoundFile", s.SoundFile);
  ini.WriteInteger("GIFOptColor", s.GIFOptColor);
  ini.WriteInteger("GIFDithering", s.GIFDithering);
  ini.WriteInteger("JPEGComp", s.JPEGComp);
  ini.WriteBool("FTP", s.FTP);
  const TFileUploadSettings& u = s.Upload;
  ini.WriteString("Domain", u.Domain);
  ini.WriteBool("FTPUpload", u.FTPUpload);
  ini.WriteString("FTPServer", u.FTPServer);
  ini.WriteString("FTPUserName", u.FTPUserName);
  ini.WriteString("FTPPassword", u.FTPPassword);
  ini.WriteInteger("FTPPort", u.FTPPort);
  ini.WriteBool("FTPPassive", u.FTPPassive);
  ini.WriteString("FTPDir", u.FTPDir);
  ini.WriteString("HTTPUploadScript", u.HTTPUploadScript);
}

}  // namespace klipora
