#pragma once
// Klipora's own TIFF module. The writer produces one of two fixed layouts,
// uncompressed, single strip, little-endian: 24-bit RGB, or an indexed image
// (1, 4 or 8 bits) with a colour map. The reader takes the first image of
// far more kinds of TIFF, so the viewer can show files from elsewhere too.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "imaging/bitmap.h"
#include "imaging/output_stream.h"

namespace klipora::imaging::tiff {

class TTIFFFile {
 public:
  enum class Layout { rgb, indexed8, indexed4, indexed1 };

  // Copies the bitmap and picks the layout from its depth: 1, 4 and 8 bits
  // are written indexed, everything else as 24-bit RGB.
  void AssignBitmap(const Bitmap& bitmap);

  // Writes the whole file; the stream's current position is offset 0 of the
  // file. Writes nothing when the object holds no image.
  void SaveToStream(OutputStream& stream) const;
  // Creates or overwrites the file; a failed write deletes it again.
  void SaveToFile(const std::string& path) const;

  // Decodes the first image of a TIFF into the object's bitmap. Raises
  // klipora::Error on anything it cannot read.
  void LoadFromStream(std::span<const std::uint8_t> data);

  const Bitmap& bitmap() const { return bitmap_; }
  Bitmap takeBitmap() { return std::move(bitmap_); }

  Layout layout() const { return layout_; }
  std::uint16_t byteOrder() const { return byteOrder_; }
  std::uint16_t version() const { return version_; }
  std::uint32_t firstDirectory() const { return firstDirectory_; }
  int photometric() const { return photometric_; }
  int samplesPerPixel() const { return samplesPerPixel_; }
  const std::vector<int>& bitsPerSample() const { return bitsPerSample_; }
  int compression() const { return compression_; }
  int predictor() const { return predictor_; }

 private:
  Bitmap bitmap_;
  Layout layout_ = Layout::rgb;
  std::uint16_t byteOrder_ = 0x4949;
  std::uint16_t version_ = 42;
  std::uint32_t firstDirectory_ = 0;
  int photometric_ = 2;
  int samplesPerPixel_ = 3;
  std::vector<int> bitsPerSample_{8, 8, 8};
  int compression_ = 1;
  int predictor_ = 1;
};

}  // namespace klipora::imaging::tiff
