#include "image_input.h"

#include <cctype>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "base/error.h"
#include "imaging/bmp_file.h"

namespace klipora::kliptool {
namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// One header number of a PPM, after whitespace and comments.
int ppmNumber(std::FILE* file) {
  int c = std::fgetc(file);
  while (c == '#' || std::isspace(c)) {
    if (c == '#') {
      while (c != '\n' && c != EOF) c = std::fgetc(file);
    }
    c = std::fgetc(file);
  }
  long value = 0;
  if (!std::isdigit(c)) throw Error("Invalid PPM header");
  while (std::isdigit(c)) {
    value = value * 10 + (c - '0');
    if (value > 1'000'000) throw Error("Invalid PPM header");
    c = std::fgetc(file);
  }
  // Exactly one whitespace byte ends the header's last number.
  return static_cast<int>(value);
}

// Rows go straight into the bitmap, so the file never sits in memory twice.
imaging::Bitmap readPpm(std::FILE* file) {
  const int width = ppmNumber(file);
  const int height = ppmNumber(file);
  const int maxValue = ppmNumber(file);
  if (maxValue != 255) throw Error("Only 8-bit PPM files are supported");
  imaging::Bitmap bitmap(width, height, 24);
  const std::size_t rowBytes = static_cast<std::size_t>(width) * 3;
  for (int y = 0; y < height; ++y) {
    std::uint8_t* row = bitmap.row(y);
    if (std::fread(row, 1, rowBytes, file) != rowBytes) throw Error("PPM file is cut short");
    for (std::size_t x = 0; x < rowBytes; x += 3) std::swap(row[x], row[x + 2]);
  }
  return bitmap;
}

}  // namespace

imaging::Bitmap readImageFile(const std::string& path) {
  File file(std::fopen(path.c_str(), "rb"));
  if (!file) throw Error("Cannot open " + path);
  char magic[2] = {};
  if (std::fread(magic, 1, 2, file.get()) != 2) throw Error("Unknown image format: " + path);
  if (magic[0] == 'P' && magic[1] == '6') return readPpm(file.get());
  if (magic[0] != 'B' || magic[1] != 'M') throw Error("Unknown image format: " + path);
  std::vector<std::uint8_t> data(magic, magic + 2);
  std::uint8_t buffer[65536];
  for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, file.get())) > 0;) {
    data.insert(data.end(), buffer, buffer + got);
  }
  return imaging::readBmp(data);
}

}  // namespace klipora::kliptool
