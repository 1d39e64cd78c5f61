#include "app/settings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <vector>

#include "app/the_ini_file.h"
#include "base/error.h"
#include "support/test_files.h"

namespace klipora {
namespace {

class SettingsTest : public testing::TempDirTest {
 protected:
  void SetUp() override {
    TempDirTest::SetUp();
    file_ = path("Klipora.ini");
    ini_.setIniLocation(loDefUser);
    ini_.setDefFilePath(dir_.string());
    ini_.setIniFileName("Klipora.ini");
  }

  std::string file_;
  TTheIniFile ini_{"", "", nullptr};
};

const char* const kDefaultFile =
    "[Options]\r\n"
    "HotKey1=16506\r\nHotKey2=122\r\nHotKey3=32890\r\nWaitTimeout=0\r\nWaitTime=1\r\n"
    "MouseCursor=0\r\nSaveToFolder=\r\nSaveType=0\r\nLocalNum=4\r\n"
    "CopyScreenshotAsGif2Cllpbrd=0\r\nShowScreenshot=1\r\nSoundFile=\r\nGIFOptColor=3\r\n"
    "GIFDithering=0\r\nJPEGComp=90\r\nFTP=0\r\nDomain=\r\nFTPUpload=1\r\nFTPServer=\r\n"
    "FTPUserName=\r\nFTPPassword=\r\nFTPPort=21\r\nFTPPassive=1\r\nFTPDir=\r\n"
    "HTTPUploadScript=\r\n";

TEST_F(SettingsTest, FirstStartGivesDefaultsAndCreatesNoFile) {
  EXPECT_EQ(LoadSettings(ini_), TSettings());
  EXPECT_FALSE(std::filesystem::exists(file_));
}

TEST_F(SettingsTest, SaveWritesExactlyTheKeysInOrder) {
  SaveSettings(ini_, TSettings());
  EXPECT_EQ(get(file_), kDefaultFile);
}

TEST_F(SettingsTest, LoadRulesPerKey) {
  struct Case {
    const char* stored;
    std::function<void(TSettings&)> expect;  // changes from the defaults
  };
  const std::vector<Case> cases = {
      {"HotKey1=0", [](TSettings& s) { s.HotKey1 = 0; }},
      {"HotKey1=-1", [](TSettings& s) { s.HotKey1 = 0xFFFF; }},
      {"HotKey2=65659", [](TSettings& s) { s.HotKey2 = 123; }},  // 0x1007B: low 16 bits
      {"HotKey3=abc", [](TSettings&) {}},
      {"HotKey3=99999999999", [](TSettings&) {}},
      {"ShowScreenshot=abc", [](TSettings& s) { s.ShowScreenshot = false; }},
      {"ShowScreenshot=", [](TSettings& s) { s.ShowScreenshot = false; }},
      {"ShowScreenshot=INIERROR", [](TSettings&) {}},
      {"ShowScreenshot=0", [](TSettings& s) { s.ShowScreenshot = false; }},
      {"FTPPassive=abc", [](TSettings&) {}},
      {"FTPPassive=2", [](TSettings& s) { s.Upload.FTPPassive = false; }},
      {"WaitTimeout=1", [](TSettings& s) { s.WaitTimeout = true; }},
      {"WaitTimeout=-1", [](TSettings&) {}},
      {"GIFOptColor=4", [](TSettings&) {}},
      {"GIFOptColor=-1", [](TSettings&) {}},
      {"GIFOptColor=0", [](TSettings& s) { s.GIFOptColor = 0; }},
      {"GIFDithering=7", [](TSettings&) {}},
      {"GIFDithering=6", [](TSettings& s) { s.GIFDithering = 6; }},
      {"JPEGComp=0", [](TSettings&) {}},
      {"JPEGComp=101", [](TSettings&) {}},
      {"JPEGComp=1", [](TSettings& s) { s.JPEGComp = 1; }},
      {"SaveType=9", [](TSettings& s) { s.SaveType = 9; }},
      {"SaveType=x", [](TSettings&) {}},
      {"WaitTime=-3", [](TSettings& s) { s.WaitTime = -3; }},
      {"WaitTime=", [](TSettings&) {}},
      {"LocalNum=abc", [](TSettings&) {}},
      {"FTPPort=2121", [](TSettings& s) { s.Upload.FTPPort = 2121; }},
      {"FTPPort=abc", [](TSettings&) {}},
      {"SaveToFolder= C:\\Bilder ", [](TSettings& s) { s.SaveToFolder = "C:\\Bilder"; }},
      {"FTPPassword=\xFC"
       "ber",
       [](TSettings& s) { s.Upload.FTPPassword = "über"; }},
  };
  for (const Case& c : cases) {
    put(file_, std::string("[Options]\r\n") + c.stored + "\r\n");
    TSettings expected;
    c.expect(expected);
    EXPECT_EQ(LoadSettings(ini_), expected) << c.stored;
  }
}

TEST_F(SettingsTest, BadFilesGiveDefaultsAndAreLeftAlone) {
  const std::vector<std::string> files = {
      std::string("\0\xFF\xFE\x01[Options\r\n=\r\n\x1A\0", 14),
      "[Options]\r\n" + std::string(1 << 20, 'A') + "\r\n",
      "[Other]\r\nHotKey1=1\r\nJPEGComp=50\r\n",
      "[Options]\r\nJPEGComp=abc\r\nJPEGComp=50\r\n[Options]\r\nHotKey1=1\r\n",
      "",
  };
  for (const std::string& content : files) {
    put(file_, content);
    EXPECT_EQ(LoadSettings(ini_), TSettings()) << content.substr(0, 40);
    EXPECT_EQ(get(file_), content);
  }
}

TEST_F(SettingsTest, SaveThenLoadGivesTheSameSettings) {
  put(file_, "; eigene Notiz\r\n[Options]\r\nHotKey1=1\r\n[Andere]\r\nX=1\r\n");
  TSettings s;
  s.HotKey1 = 0;
  s.HotKey2 = 0x6000 | 0x7B;
  s.HotKey3 = 0x8000 | 0x41;
  s.WaitTimeout = true;
  s.WaitTime = 30;
  s.MouseCursor = true;
  s.SaveToFolder = "C:\\Eigene Bilder\\Größe ";
  s.SaveType = 4;
  s.LocalNum = 10;
  s.CopyScreenshotAsGif2Cllpbrd = true;
  s.ShowScreenshot = false;
  s.SoundFile = "\"klick.wav\"";
  s.GIFOptColor = 1;
  s.GIFDithering = 6;
  s.JPEGComp = 100;
  s.FTP = true;
  s.Upload = {"http://example.org/bilder/",
              false,
              "ftp.example.org",
              "benutzer",
              " geheim ",
              2121,
              false,
              "/bilder",
              "http://example.org/upload.php"};
  SaveSettings(ini_, s);
  EXPECT_EQ(LoadSettings(ini_), s);
  // Lines that are not ours stay.
  const std::string written = *get(file_);
  EXPECT_TRUE(written.starts_with("; eigene Notiz\r\n[Options]\r\nHotKey1=0\r\n")) << written;
  EXPECT_TRUE(written.ends_with("[Andere]\r\nX=1\r\n")) << written;
}

TEST_F(SettingsTest, SaveWritesNothingWhenTheFileCannotBeOpened) {
  put(path("NotAFolder"), "");
  ini_.setDefFilePath(path("NotAFolder"));
  TSettings s;
  s.JPEGComp = 50;
  EXPECT_NO_THROW(SaveSettings(ini_, s));
  EXPECT_EQ(LoadSettings(ini_), TSettings());
  EXPECT_EQ(get(path("NotAFolder")), "");
}

TEST_F(SettingsTest, RefusedSaveRaisesAndKeepsTheFile) {
  put(file_, "[Options]\r\nJPEGComp=50\r\n");
  // The replacement file cannot be created where a folder of its name lies.
  std::filesystem::create_directory(file_ + ".~tmp");
  try {
    SaveSettings(ini_, TSettings());
    FAIL() << "no error raised";
  } catch (const Error& e) {
    EXPECT_EQ(std::string(e.what()),
              "In " + dir_.string() + "\\Klipora.ini kann nicht geschrieben werden");
  }
  EXPECT_EQ(get(file_), "[Options]\r\nJPEGComp=50\r\n");
}

}  // namespace
}  // namespace klipora
