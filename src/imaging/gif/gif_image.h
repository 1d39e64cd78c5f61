#pragma once
// The GIF object: a header, a list of frames and their colour tables. It is
// filled from an indexed bitmap or read from a GIF stream, and writes itself
// as a GIF stream.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "imaging/bitmap.h"
#include "imaging/gif/gif_color_map.h"
#include "imaging/gif/gif_progress.h"
#include "imaging/gif/reduction_modes.h"
#include "imaging/output_stream.h"

namespace klipora::imaging::gif {

class TGIFImage;

struct TGIFHeader {
  std::uint16_t width = 0;
  std::uint16_t height = 0;
  std::uint8_t packedFields = 0;
  std::uint8_t backgroundColorIndex = 0;
  std::uint8_t aspectRatio = 0;
  TGIFGlobalColorMap colorMap;

  void clear() { *this = TGIFHeader{}; }
};

// One extension block: its label and its data sub-blocks exactly as in the
// stream (length bytes included, terminator excluded), so that blocks with a
// fixed layout survive a round trip.
struct GifExtension {
  std::uint8_t label = 0;
  std::vector<std::uint8_t> blocks;
  bool operator==(const GifExtension&) const = default;
};

class TGIFSubImage {
 public:
  static constexpr std::uint8_t kImageSeparator = 0x2C;
  static constexpr std::uint8_t kInterlaced = 0x40;

  int left() const { return left_; }
  int top() const { return top_; }
  int width() const { return width_; }
  int height() const { return height_; }
  bool empty() const { return pixels_.empty(); }
  bool interlaced() const { return (packedFields_ & kInterlaced) != 0; }
  std::uint8_t packedFields() const { return packedFields_; }

  TGIFLocalColorMap& colorMap() { return colorMap_; }
  const TGIFLocalColorMap& colorMap() const { return colorMap_; }
  std::vector<GifExtension>& extensions() { return extensions_; }
  const std::vector<GifExtension>& extensions() const { return extensions_; }

  // width * height index bytes, rows top to bottom without gaps.
  std::span<std::uint8_t> pixels() { return pixels_; }
  std::span<const std::uint8_t> pixels() const { return pixels_; }

  // "89a" when the frame needs the newer format, else "87a".
  std::string_view version() const;

 private:
  friend class TGIFImage;

  void clear();

  int left_ = 0;
  int top_ = 0;
  int width_ = 0;
  int height_ = 0;
  std::uint8_t packedFields_ = 0;
  TGIFLocalColorMap colorMap_;
  std::vector<GifExtension> extensions_;
  std::vector<std::uint8_t> pixels_;
};

class TGIFImage {
 public:
  using WarningReceiver = std::function<void(const std::string& message)>;

  TGIFImage();
  ~TGIFImage();
  TGIFImage(const TGIFImage&) = delete;
  TGIFImage& operator=(const TGIFImage&) = delete;

  // Clears the image and makes the bitmap its only frame. Bitmaps of more
  // than 8 bits per pixel are first reduced with the settings below.
  void assign(const Bitmap& bitmap);
  // Copies the other image's header and frames.
  void assign(const TGIFImage& other);

  void saveToStream(OutputStream& sink) const;
  std::vector<std::uint8_t> saveToMemory() const;
  // Creates or overwrites the file; a failed write removes it again.
  void saveToFile(const std::string& path) const;

  // Reads a GIF87a or GIF89a stream. On failure the image is left empty.
  void loadFromMemory(std::span<const std::uint8_t> data);
  // Reads from the stream's position; a failure restores that position.
  void loadFromStream(std::istream& in);
  void loadFromFile(const std::string& path);

  bool empty() const { return frames_.empty(); }
  int width() const { return header_.width; }
  int height() const { return header_.height; }
  const TGIFHeader& header() const { return header_; }
  TGIFHeader& header() { return header_; }
  const std::vector<std::unique_ptr<TGIFSubImage>>& frames() const { return frames_; }

  // "87a" or "89a"; raises "Unsupported GIF version" without frames.
  std::string_view version() const;

  // The logical screen with the first frame drawn on it, as an 8-bit bitmap.
  // Built on first use and kept until the frames change.
  const Bitmap& bitmap() const;

  TColorReduction colorReduction = ReductionWeb216;
  int reductionBits = 8;
  TDitherMode ditherMode = DitherNearest;

  void setProgressReceiver(GifProgressReceiver* receiver) { progress_ = receiver; }
  GifProgressReceiver* progressReceiver() const { return progress_; }
  void setWarningReceiver(WarningReceiver receiver) { warnings_ = std::move(receiver); }

  // Frame list editing for the reader and for callers building images.
  TGIFSubImage& addFrame();
  // Sets a frame's size, growing the logical screen to hold it; sizes above
  // 65,535 raise a range error.
  void setFrameSize(TGIFSubImage& frame, int width, int height);
  void clear();

  void warn(const std::string& message) const;

 private:
  void importFrame(TGIFSubImage& frame, const Bitmap& bitmap);
  // Returns the number of bytes the GIF stream took.
  std::size_t readFrom(std::span<const std::uint8_t> data);
  void readFrame(class GifInput& input, std::vector<GifExtension>& pending, std::uint64_t& budget);
  void writeFrame(OutputStream& sink, const TGIFSubImage& frame, int imageBits) const;
  void dropBitmap() { view_.reset(); }

  TGIFHeader header_;
  std::vector<std::unique_ptr<TGIFSubImage>> frames_;
  GifProgressReceiver* progress_ = nullptr;
  WarningReceiver warnings_;
  mutable std::unique_ptr<Bitmap> view_;
};

}  // namespace klipora::imaging::gif
