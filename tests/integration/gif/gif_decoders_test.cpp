// GIF streams checked with independent decoders: giflib's gif2rgb and
// ImageMagick must see the palette colour at every computed index, and our
// reader must see what ImageMagick sees in GIFs that ImageMagick wrote.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "imaging/bitmap.h"
#include "imaging/gif/build_gif_image.h"
#include "imaging/gif/gif_image.h"

namespace klipora::imaging::gif {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

struct PipeCloser {
  void operator()(std::FILE* pipe) const { pclose(pipe); }
};

Bytes runAndRead(const std::string& command) {
  std::unique_ptr<std::FILE, PipeCloser> pipe(popen(command.c_str(), "r"));
  if (!pipe) return {};
  Bytes out;
  std::uint8_t buffer[65536];
  for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe.get())) > 0;) {
    out.insert(out.end(), buffer, buffer + got);
  }
  return out;
}

Bytes readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The real ImageMagick, not a wrapper that may stand in front of it on PATH.
std::string magick() {
  return fs::exists("/usr/bin/convert-im6.q16") ? "/usr/bin/convert-im6.q16" : "/usr/bin/convert";
}

// A screenshot-like test image: flat areas, a gradient, text-like noise.
Bitmap testImage(int width, int height, unsigned seed) {
  Bitmap image(width, height, 24);
  std::uint32_t state = seed;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      state = state * 1664525u + 1013904223u;
      std::uint8_t* p = image.row(y) + 3 * x;
      if (x < width / 3) {
        p[0] = 240, p[1] = 240, p[2] = 240;
        if ((state >> 24) < 40) p[0] = p[1] = p[2] = 20;
      } else if (y < height / 2) {
        p[0] = static_cast<std::uint8_t>(x * 255 / width);
        p[1] = static_cast<std::uint8_t>(y * 255 / height);
        p[2] = static_cast<std::uint8_t>((x + y) & 255);
      } else {
        p[0] = static_cast<std::uint8_t>(state >> 24);
        p[1] = static_cast<std::uint8_t>(state >> 16);
        p[2] = static_cast<std::uint8_t>(state >> 8);
      }
    }
  }
  return image;
}

// RGB of every pixel as the frame's table says it should be.
Bytes expectedRgb(const TGIFImage& image) {
  const TGIFSubImage& frame = *image.frames().front();
  Bytes rgb;
  for (std::uint8_t index : frame.pixels()) {
    const GifColor& color = frame.colorMap()[index];
    rgb.insert(rgb.end(), {color.red, color.green, color.blue});
  }
  return rgb;
}

class GifDecoders : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("klipora-gif-" + std::to_string(::getpid()));
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  fs::path dir_;
};

TEST_F(GifDecoders, EverySettingDecodesToThePaletteColours) {
  const struct { int width, height; } sizes[] = {{1, 1}, {67, 41}, {320, 200}};
  for (const auto& size : sizes) {
    for (int colour = 0; colour < 4; ++colour) {
      for (int dither = 0; dither < 7; ++dither) {
        SCOPED_TRACE(std::to_string(size.width) + "x" + std::to_string(size.height) + " colour " +
                     std::to_string(colour) + " dither " + std::to_string(dither));
        Bitmap capture = testImage(size.width, size.height, 7u + static_cast<unsigned>(colour));
        const auto image = BuildGifImage(capture, colour, dither);
        const fs::path gif = dir_ / "out.gif";
        image->saveToFile(gif.string());
        const Bytes expected = expectedRgb(*image);

        const fs::path rgb = dir_ / "out.rgb";
        ASSERT_EQ(std::system(("gif2rgb -1 -o " + rgb.string() + " " + gif.string()).c_str()), 0);
        EXPECT_EQ(readFile(rgb), expected) << "gif2rgb";
        EXPECT_EQ(runAndRead(magick() + " " + gif.string() + " -depth 8 rgb:-"), expected)
            << "ImageMagick";
      }
    }
  }
}

TEST_F(GifDecoders, ReadsWhatImageMagickWrites) {
  Bitmap capture = testImage(97, 53, 3);
  const fs::path ppm = dir_ / "in.ppm";
  {
    std::ofstream out(ppm, std::ios::binary);
    out << "P6\n97 53\n255\n";
    for (int y = 0; y < capture.height(); ++y) {
      for (int x = 0; x < capture.width(); ++x) {
        const std::uint8_t* p = capture.row(y) + 3 * x;
        out.put(static_cast<char>(p[2])).put(static_cast<char>(p[1])).put(static_cast<char>(p[0]));
      }
    }
  }
  for (const char* options : {"+dither -colors 256", "-colors 16 -interlace GIF", "-colors 2"}) {
    SCOPED_TRACE(options);
    const fs::path gif = dir_ / "magick.gif";
    ASSERT_EQ(
        std::system((magick() + " " + ppm.string() + " " + options + " " + gif.string()).c_str()),
        0);
    TGIFImage image;
    image.loadFromFile(gif.string());
    ASSERT_EQ(image.frames().size(), 1u);
    const TGIFSubImage& frame = *image.frames().front();
    const TGIFColorMap& table = frame.colorMap().empty()
                                    ? static_cast<const TGIFColorMap&>(image.header().colorMap)
                                    : frame.colorMap();
    Bytes rgb;
    for (std::uint8_t index : frame.pixels()) {
      rgb.insert(rgb.end(), {table[index].red, table[index].green, table[index].blue});
    }
    EXPECT_EQ(rgb, runAndRead(magick() + " " + gif.string() + " -depth 8 rgb:-"));
  }
}

}  // namespace
}  // namespace klipora::imaging::gif
