#include "base/file_system.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>

namespace klipora::fs {
namespace {

class FileSystemTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "klipora-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  // Windows-style path below the scratch folder.
  std::string path(const std::string& relative) const { return dir_ + "\\" + relative; }
  static mode_t mode(const std::string& p) {
    struct stat st {};
    stat(std::filesystem::path(p).c_str(), &st);
    return st.st_mode & 0777;
  }

  std::string dir_;
};

TEST_F(FileSystemTest, CreatesFoldersAndProbesCreation) {
  EXPECT_TRUE(createDirectories(path("a\\b\\c")));
  EXPECT_TRUE(std::filesystem::is_directory(dir_ + "/a/b/c"));
  EXPECT_TRUE(createDirectories(path("a\\b\\c\\")));

  EXPECT_EQ(probeCreate(path("a\\new.ini")), 0);
  EXPECT_FALSE(fileExists(path("a\\new.ini")));
  EXPECT_EQ(probeCreate(path("missing\\new.ini")), 3);

  ASSERT_TRUE(replaceFile(path("file"), ""));
  EXPECT_EQ(probeCreate(path("file\\new.ini")), 3);
  EXPECT_FALSE(createDirectories(path("file\\sub")));
  EXPECT_FALSE(fileExists(path("a")));
  EXPECT_EQ(readFile(path("a")), std::nullopt);
  EXPECT_EQ(readFile(path("none")), std::nullopt);
}

TEST_F(FileSystemTest, ReplaceKeepsTheOldFileOnFailure) {
  const std::string file = path("Klipora.ini");
  ASSERT_TRUE(replaceFile(file, std::string("one\0two", 7)));
  EXPECT_EQ(readFile(file), std::string("one\0two", 7));
  ASSERT_TRUE(replaceFile(file, "new"));
  EXPECT_EQ(readFile(file), "new");

  // Read-only: refused (a rename would get past it), and writable again
  // after setArchiveOnly.
  chmod((dir_ + "/Klipora.ini").c_str(), 0440);
  EXPECT_TRUE(isReadOnly(file));
  EXPECT_FALSE(replaceFile(file, "x"));
  EXPECT_TRUE(setArchiveOnly(file));
  EXPECT_FALSE(isReadOnly(file));
  EXPECT_EQ(mode(dir_ + "/Klipora.ini"), 0640u);
  EXPECT_TRUE(replaceFile(file, "y"));
  EXPECT_EQ(mode(dir_ + "/Klipora.ini"), 0640u);

  // The temporary file cannot be made: the old content stays.
  std::filesystem::create_directory(dir_ + "/Klipora.ini.~tmp");
  EXPECT_FALSE(replaceFile(file, "z"));
  EXPECT_EQ(readFile(file), "y");
}

}  // namespace
}  // namespace klipora::fs
