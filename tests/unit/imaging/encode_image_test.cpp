#include "imaging/encode_image.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "base/error.h"
#include "format_fixtures.h"

namespace klipora::imaging {
namespace {

namespace fs = std::filesystem;

class EncodeImageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() /
              ("klipora-encode-" +
               std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(folder_);
    fs::create_directories(folder_);
  }
  void TearDown() override { fs::remove_all(folder_); }

  static std::vector<std::uint8_t> readAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }

  fs::path folder_;
};

TEST_F(EncodeImageTest, FileAndMemoryGetTheSameBytes) {
  const Bitmap bitmap = testing::patternBitmap(23, 7, 32);
  for (const ImageFormat format : {ifGIF, ifJPEG, ifBMP, ifPNG, ifTIFF}) {
    SCOPED_TRACE(static_cast<int>(format));
    const EncodeOptions options{format, 3, 1, 75};
    const fs::path path = folder_ / ("image" + std::string(extensionOf(format)));
    EncodeImage(bitmap, options, path.string());
    MemoryStream memory;
    EncodeImage(bitmap, options, memory);
    EXPECT_FALSE(memory.bytes().empty());
    EXPECT_EQ(readAll(path), memory.bytes());
  }
  EXPECT_EQ(bitmap.bitsPerPixel(), 32);  // the caller's bitmap is left alone
}

TEST_F(EncodeImageTest, FailuresLeaveNoFile) {
  const fs::path path = folder_ / "image001.png";
  EXPECT_THROW(EncodeImage(Bitmap(0, 5, 24), EncodeOptions{ifPNG}, path.string()), Error);
  EXPECT_FALSE(fs::exists(path));
  MemoryStream memory;
  EXPECT_THROW(EncodeImage(Bitmap(4, 0, 24), EncodeOptions{ifTIFF}, memory), Error);
  EXPECT_THROW(EncodeImage(testing::patternBitmap(2, 2, 24),
                           EncodeOptions{static_cast<ImageFormat>(5)}, memory),
               Error);

  // A name that is a folder, and a folder that does not exist.
  EXPECT_THROW(
      EncodeImage(testing::patternBitmap(2, 2, 24), EncodeOptions{ifBMP}, folder_.string()), Error);
  EXPECT_THROW(EncodeImage(testing::patternBitmap(2, 2, 24), EncodeOptions{ifBMP},
                           (folder_ / "missing" / "a.bmp").string()),
               Error);
}

#ifdef __linux__
TEST_F(EncodeImageTest, FullDiskIsAnError) {
  // /dev/full fails every write with "no space left"; it must stay in place.
  const Bitmap bitmap = testing::patternBitmap(300, 300, 24);
  for (const ImageFormat format : {ifJPEG, ifBMP, ifPNG, ifTIFF}) {
    EXPECT_THROW(EncodeImage(bitmap, EncodeOptions{format}, "/dev/full"), Error);
  }
  EXPECT_TRUE(fs::exists("/dev/full"));
}
#endif

TEST(ImageFormat, IndexesAndExtensions) {
  const std::pair<int, std::string_view> table[] = {
      {0, ".gif"}, {1, ".jpg"}, {2, ".bmp"}, {3, ".png"}, {4, ".tif"}};
  for (const auto& [index, extension] : table) {
    ASSERT_TRUE(imageFormatFromIndex(index));
    EXPECT_EQ(extensionOf(*imageFormatFromIndex(index)), extension);
  }
  EXPECT_FALSE(imageFormatFromIndex(5));
  EXPECT_FALSE(imageFormatFromIndex(-1));
}

}  // namespace
}  // namespace klipora::imaging
