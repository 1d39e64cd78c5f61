#include "imaging/jpeg_writer.h"

#include <gtest/gtest.h>

#include "format_fixtures.h"

namespace klipora::imaging {
namespace {

struct Segment {
  std::uint8_t marker;
  std::vector<std::uint8_t> data;
};

// The marker segments up to the start of the scan.
std::vector<Segment> headerSegments(const std::vector<std::uint8_t>& jpeg) {
  EXPECT_EQ(jpeg[0], 0xFF);
  EXPECT_EQ(jpeg[1], 0xD8);
  std::vector<Segment> segments;
  for (std::size_t at = 2; at + 4 <= jpeg.size() && jpeg[at] == 0xFF;) {
    const std::size_t length = (jpeg[at + 2] << 8) | jpeg[at + 3];
    segments.push_back({jpeg[at + 1], {jpeg.begin() + at + 4, jpeg.begin() + at + 2 + length}});
    if (jpeg[at + 1] == 0xDA) break;
    at += 2 + length;
  }
  return segments;
}

TEST(JpegWriter, BaselineYCbCrAtAnyQuality) {
  const Bitmap bitmap = testing::patternBitmap(17, 9, 32);
  for (const int quality : {1, 90, 100}) {
    SCOPED_TRACE(quality);
    MemoryStream out;
    writeJpeg(bitmap, quality, out);
    const auto& jpeg = out.bytes();
    EXPECT_EQ(jpeg[jpeg.size() - 2], 0xFF);
    EXPECT_EQ(jpeg.back(), 0xD9);
    bool jfif = false;
    bool frame = false;
    for (const auto& segment : headerSegments(jpeg)) {
      if (segment.marker == 0xE0)
        jfif =
            std::string(segment.data.begin(), segment.data.begin() + 5) == std::string("JFIF\0", 5);
      if (segment.marker == 0xDB) {
        // Baseline forcing: 8-bit tables, values within 1..255.
        for (std::size_t at = 0; at < segment.data.size(); at += 65) {
          EXPECT_EQ(segment.data[at] >> 4, 0);
        }
      }
      EXPECT_NE(segment.marker, 0xC2) << "progressive";
      if (segment.marker == 0xC0) {
        frame = true;
        const auto& sof = segment.data;
        EXPECT_EQ((sof[1] << 8) | sof[2], 9);
        EXPECT_EQ((sof[3] << 8) | sof[4], 17);
        ASSERT_EQ(sof[5], 3);
        EXPECT_EQ(sof[7], 0x22);  // luminance 2x2
        EXPECT_EQ(sof[10], 0x11);
        EXPECT_EQ(sof[13], 0x11);
      }
    }
    EXPECT_TRUE(jfif);
    EXPECT_TRUE(frame);
  }
}

}  // namespace
}  // namespace klipora::imaging
