#include "app/the_ini_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "base/error.h"
#include "support/test_files.h"

namespace klipora {
namespace {

class TheIniFileTest : public testing::TempDirTest {
 protected:
  // A file in the scratch folder, opened through the user location.
  TTheIniFile& openAt(const std::string& file) {
    ini_.setIniLocation(loUser);
    ini_.setIniFileName(file);
    ini_.setSection("Options");
    ini_.setOpen(true);
    return ini_;
  }

  std::vector<std::string> messages_;
  TTheIniFile ini_{"C:\\Windows\\", "C:\\Programme\\",
                   [this](const std::string& text) { messages_.push_back(text); }};
};

TEST_F(TheIniFileTest, OpeningAMissingFileSucceedsWithoutCreatingIt) {
  const std::string file = path("Klipora.ini");
  openAt(file);
  EXPECT_EQ(ini_.ErrorCode(), 2);
  EXPECT_TRUE(ini_.Open());
  EXPECT_FALSE(std::filesystem::exists(file));

  EXPECT_EQ(ini_.ReadString("Key", "def"), "def");
  EXPECT_EQ(ini_.ErrorCode(), -1);
  EXPECT_FALSE(std::filesystem::exists(file));

  ini_.WriteInteger("Key", -5);
  EXPECT_EQ(ini_.ErrorCode(), 0);
  EXPECT_EQ(get(file), "[Options]\r\nKey=-5\r\n");
}

TEST_F(TheIniFileTest, UnwritableFolderFailsTheOpenAndWritesNothing) {
  // A folder that is a regular file: refused even for root.
  put(path("NotAFolder"), "");
  const std::string file = path("NotAFolder") + "\\Klipora.ini";
  openAt(file);
  EXPECT_EQ(ini_.ErrorCode(), 3);
  EXPECT_FALSE(ini_.Open());

  EXPECT_EQ(ini_.ReadInteger("Key", 7), 7);
  EXPECT_EQ(ini_.ErrorCode(), -1);
  ini_.WriteString("Key", "x");
  EXPECT_EQ(ini_.ErrorCode(), -1);
  EXPECT_EQ(get(path("NotAFolder")), "");
}

TEST_F(TheIniFileTest, ReadOnlyFileIsMadeWritable) {
  const std::string file = path("Klipora.ini");
  put(file, "[Options]\r\nKey=1\r\n");
  makeReadOnly(file);
  openAt(file);
  EXPECT_EQ(ini_.ErrorCode(), 0);
  EXPECT_TRUE(ini_.Open());
  EXPECT_TRUE(messages_.empty());
  ini_.WriteString("Key", "2");
  EXPECT_EQ(get(file), "[Options]\r\nKey=2\r\n");
}

TEST_F(TheIniFileTest, RefusedWriteRaisesAndKeepsTheFile) {
  const std::string file = path("Klipora.ini");
  put(file, "[Options]\r\nKey=1\r\n");
  openAt(file);
  makeReadOnly(file);
  try {
    ini_.WriteString("Key", "2");
    FAIL() << "no error raised";
  } catch (const Error& e) {
    EXPECT_EQ(std::string(e.what()), "In " + file + " kann nicht geschrieben werden");
  }
  EXPECT_EQ(get(file), "[Options]\r\nKey=1\r\n");
}

TEST_F(TheIniFileTest, ReadsReportWhatTheyFound) {
  const std::string file = path("Klipora.ini");
  put(file,
      "[Options]\r\nMissing=INIERROR\r\nText=abc\r\nHuge=99999999999\r\nEmpty=\r\n"
      "Minus=-1\r\nPlus=+7\r\nTwo=2\r\nOne=1\r\nMax=2147483647\r\nMin=-2147483648\r\n");
  openAt(file);

  struct IntCase {
    const char* key;
    int value;
    int error;
  };
  for (const IntCase& c : std::vector<IntCase>{{"Missing", 42, -1},
                                               {"Absent", 42, -1},
                                               {"Text", 42, -2},
                                               {"Huge", 42, -2},
                                               {"Empty", 42, -2},
                                               {"Minus", -1, 0},
                                               {"Plus", 7, 0},
                                               {"Max", 2147483647, 0},
                                               {"Min", -2147483647 - 1, 0}}) {
    EXPECT_EQ(ini_.ReadInteger(c.key, 42), c.value) << c.key;
    EXPECT_EQ(ini_.ErrorCode(), c.error) << c.key;
  }

  struct BoolCase {
    const char* key;
    bool defaultValue;
    bool value;
    int error;
  };
  for (const BoolCase& c : std::vector<BoolCase>{{"Missing", true, true, -1},
                                                 {"Text", true, true, 0},
                                                 {"Text", false, false, 0},
                                                 {"Two", true, false, 0},
                                                 {"Plus", true, false, 0},
                                                 {"One", false, true, 0}}) {
    EXPECT_EQ(ini_.ReadBool(c.key, c.defaultValue), c.value) << c.key;
    EXPECT_EQ(ini_.ErrorCode(), c.error) << c.key;
  }

  EXPECT_EQ(ini_.ReadString("Missing", "d"), "d");
  EXPECT_EQ(ini_.ErrorCode(), -1);
  EXPECT_EQ(ini_.ReadString("Empty", "d"), "");
  EXPECT_EQ(ini_.ErrorCode(), 0);

  ini_.setSection("");
  EXPECT_EQ(ini_.ReadString("Text", "d"), "d");
  EXPECT_EQ(ini_.ErrorCode(), -1);
}

TEST_F(TheIniFileTest, LocationsAndNameChanges) {
  TTheIniFile ini(path("win") + "\\", path("prog") + "\\", nullptr);
  ini.setIniFileName("Klipora.ini");
  ini.setDefFilePath(path("user"));
  EXPECT_EQ(ini.DefFilePath(), path("user") + "\\");
  ini.setDefFilePath(path("user") + "\\");
  EXPECT_EQ(ini.DefFilePath(), path("user") + "\\");

  const std::vector<std::pair<TIniLocation, std::string>> cases = {
      {loWinDir, path("win") + "\\Klipora.ini"},
      {loProgDir, path("prog") + "\\Klipora.ini"},
      {loDefUser, path("user") + "\\Klipora.ini"}};
  for (const char* folder : {"win", "prog", "user"})
    std::filesystem::create_directory(path(folder));
  for (const auto& [location, expected] : cases) {
    ini.setIniLocation(location);
    ini.setOpen(true);
    EXPECT_TRUE(ini.Open()) << location;
    EXPECT_EQ(ini.FilePath(), expected) << location;
  }

  ini.setIniFileName("Other.ini");
  EXPECT_FALSE(ini.Open());
  ini.setDefFilePath("");
  EXPECT_EQ(ini.DefFilePath(), "");
}

}  // namespace
}  // namespace klipora
