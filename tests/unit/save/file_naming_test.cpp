#include "imaging/save/file_naming.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/test_files.h"

namespace klipora::imaging {
namespace {

using NextLocalNameTest = testing::TempDirTest;

TEST(FileNaming, NumberInNameFollowsThePrefixAndExtensionRules) {
  struct Case {
    const char* name;
    bool counts;
    std::int64_t number;
  };
  const Case cases[] = {
      {"image0007.gif", true, 7},    {"IMAGE004.GIF", true, 4},
      {"image12.old.gif", true, 12}, {"Image+3.gif", true, 3},
      {"images5.gif", false, 0},     {"image.gif", false, 0},
      {"image-3.gif", true, -3},     {"image0007.png", false, 0},
      {"picture1.gif", false, 0},    {"image99999999999.gif", false, 0},
      {"image1x.gif", false, 0},     {"image1.gifx", false, 0},
  };
  for (const Case& c : cases) {
    std::int64_t number = 0;
    EXPECT_EQ(numberInName(c.name, ".gif", number), c.counts) << c.name;
    if (c.counts) {
      EXPECT_EQ(number, c.number) << c.name;
    }
  }
}

TEST(FileNaming, PadsToTheDigitsButNeverCuts) {
  EXPECT_EQ(numberedName(1, 3, ".gif"), "image001.gif");
  EXPECT_EQ(numberedName(1000, 3, ".gif"), "image1000.gif");
  EXPECT_EQ(numberedName(10, 1, ".gif"), "image10.gif");
  EXPECT_EQ(numberedName(1, 10, ".tif"), "image0000000001.tif");
}

TEST_F(NextLocalNameTest, TakesOneAboveTheHighestOfTheSameExtension) {
  const std::string folder = path("shots") + "\\";
  std::filesystem::create_directory(path("shots"));
  EXPECT_EQ(NextLocalName(folder, ".gif", 4), "image0001.gif");
  for (const char* name : {"IMAGE004.GIF", "image12.old.gif", "images55.gif", "image.gif",
                           "image-3.gif", "image0002.gif", "image0700.jpg", "image0800.png"}) {
    put(path("shots/" + std::string(name)), "x");
  }
  // A folder with a matching name does not count.
  std::filesystem::create_directory(path("shots/image0099.gif"));
  EXPECT_EQ(NextLocalName(folder, ".gif", 4), "image0013.gif");
  EXPECT_EQ(NextLocalName(folder, ".jpg", 3), "image701.jpg");
  EXPECT_EQ(NextLocalName(folder, ".bmp", 1), "image1.bmp");
  // A folder that does not exist starts at one.
  EXPECT_EQ(NextLocalName(path("missing") + "\\", ".png", 2), "image01.png");
}

}  // namespace
}  // namespace klipora::imaging
