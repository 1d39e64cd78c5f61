#pragma once
// Octree colour quantizer: sees every pixel once, merges the deepest, most
// recently created branch whenever there are more leaves than allowed, and
// writes the average colour of each leaf in tree order.
#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "imaging/bitmap.h"

namespace klipora::imaging::gif {

class TColorQuantizer {
 public:
  // colorBits is the depth of the tree's bottom level, at most 8.
  TColorQuantizer(int maxColors, int colorBits);

  // Feeds every pixel of a 24-bit bitmap, rows top to bottom.
  void ProcessBitmap(const Bitmap& bgr24);
  // Adds one pixel and merges until the leaf limit holds again.
  void addPixel(std::uint8_t red, std::uint8_t green, std::uint8_t blue);

  int leafCount() const { return leafCount_; }

  // Writes the leaf colours from table[0] on (at most table.size() of them)
  // and leaves the rest alone; returns the number written.
  int WriteColorTable(std::span<PaletteEntry> table) const;

 private:
  static constexpr std::int32_t kNone = -1;

  struct Node {
    bool isLeaf = false;
    // 64-bit so that large images cannot overflow the sums.
    std::int64_t pixelCount = 0;
    std::int64_t redSum = 0;
    std::int64_t greenSum = 0;
    std::int64_t blueSum = 0;
    std::int32_t next = kNone;
    std::array<std::int32_t, 8> children{kNone, kNone, kNone, kNone, kNone, kNone, kNone, kNone};
  };

  std::int32_t createNode(int level);
  void freeNode(std::int32_t node);
  std::int32_t AddPixelColor(std::uint8_t red, std::uint8_t green, std::uint8_t blue);
  // False when there is nothing left to merge.
  bool ReduceOnce();
  void addTo(std::int32_t leaf, std::uint8_t red, std::uint8_t green, std::uint8_t blue);

  // Nodes live in one pool and refer to each other by index; merged nodes'
  // slots are reused, so memory follows the leaf limit, not the image.
  std::vector<Node> nodes_;
  std::vector<std::int32_t> freeNodes_;
  std::int32_t root_ = kNone;
  int leafCount_ = 0;
  std::array<std::int32_t, 9> reducible_{kNone, kNone, kNone, kNone, kNone,
                                         kNone, kNone, kNone, kNone};
  int maxColors_;
  int colorBits_;

  // Recently seen colours and their leaves. Leaves only disappear in a
  // merge, which starts a new generation and so empties the cache.
  struct CacheSlot {
    std::uint32_t color = 0;
    std::uint32_t generation = 0;
    std::int32_t leaf = kNone;
  };
  std::vector<CacheSlot> cache_;
  std::uint32_t generation_ = 1;
};

}  // namespace klipora::imaging::gif
