#include "imaging/gif/octree.h"

#include "base/error.h"

namespace klipora::imaging::gif {

namespace {

constexpr std::size_t kCacheSize = 4096;

std::size_t cacheSlot(std::uint32_t color) { return (color * 2654435761u) >> 20; }

}  // namespace

TColorQuantizer::TColorQuantizer(int maxColors, int colorBits)
    : maxColors_(maxColors), colorBits_(colorBits), cache_(kCacheSize) {
  if (colorBits > 8 || colorBits < 0) throw Error("ColorBits must be 8 or less");
  if (maxColors < 1) throw Error("Invalid maximum colour count");
}

std::int32_t TColorQuantizer::createNode(int level) {
  std::int32_t index;
  if (!freeNodes_.empty()) {
    index = freeNodes_.back();
    freeNodes_.pop_back();
    nodes_[static_cast<std::size_t>(index)] = Node{};
  } else {
    index = static_cast<std::int32_t>(nodes_.size());
    nodes_.emplace_back();
  }
  Node& node = nodes_[static_cast<std::size_t>(index)];
  if (level == colorBits_) {
    node.isLeaf = true;
    ++leafCount_;
  } else {
    node.next = reducible_[static_cast<std::size_t>(level)];
    reducible_[static_cast<std::size_t>(level)] = index;
  }
  return index;
}

void TColorQuantizer::freeNode(std::int32_t node) { freeNodes_.push_back(node); }

std::int32_t TColorQuantizer::AddPixelColor(std::uint8_t red, std::uint8_t green,
                                            std::uint8_t blue) {
  if (root_ == kNone) root_ = createNode(0);
  std::int32_t node = root_;
  for (int level = 0;; ++level) {
    if (nodes_[static_cast<std::size_t>(node)].isLeaf) {
      addTo(node, red, green, blue);
      return node;
    }
    const int shift = 7 - level;
    const int branch =
        (((red >> shift) & 1) << 2) | (((green >> shift) & 1) << 1) | ((blue >> shift) & 1);
    std::int32_t child = nodes_[static_cast<std::size_t>(node)].children[branch];
    if (child == kNone) {
      child = createNode(level + 1);  // may move nodes_, so index again below
      nodes_[static_cast<std::size_t>(node)].children[branch] = child;
    }
    node = child;
  }
}

void TColorQuantizer::addTo(std::int32_t leaf, std::uint8_t red, std::uint8_t green,
                            std::uint8_t blue) {
  Node& node = nodes_[static_cast<std::size_t>(leaf)];
  ++node.pixelCount;
  node.redSum += red;
  node.greenSum += green;
  node.blueSum += blue;
}

bool TColorQuantizer::ReduceOnce() {
  int level = colorBits_ - 1;
  while (level > 0 && reducible_[static_cast<std::size_t>(level)] == kNone) --level;
  if (level < 0) return false;
  const std::int32_t index = reducible_[static_cast<std::size_t>(level)];
  if (index == kNone) return false;
  Node& node = nodes_[static_cast<std::size_t>(index)];
  reducible_[static_cast<std::size_t>(level)] = node.next;
  std::int64_t red = 0, green = 0, blue = 0;
  int children = 0;
  for (std::int32_t& child : node.children) {
    if (child == kNone) continue;
    const Node& c = nodes_[static_cast<std::size_t>(child)];
    node.pixelCount += c.pixelCount;
    red += c.redSum;
    green += c.greenSum;
    blue += c.blueSum;
    freeNode(child);
    child = kNone;
    ++children;
  }
  node.isLeaf = true;
  node.redSum = red;
  node.greenSum = green;
  node.blueSum = blue;
  leafCount_ -= children - 1;
  ++generation_;
  return true;
}

void TColorQuantizer::addPixel(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
  const std::uint32_t color = (std::uint32_t{red} << 16) | (std::uint32_t{green} << 8) | blue;
  CacheSlot& slot = cache_[cacheSlot(color)];
  if (slot.generation == generation_ && slot.color == color) {
    addTo(slot.leaf, red, green, blue);
    return;
  }
  const std::int32_t leaf = AddPixelColor(red, green, blue);
  if (leafCount_ > maxColors_) {
    while (leafCount_ > maxColors_ && ReduceOnce()) {
    }
    return;
  }
  slot = {color, generation_, leaf};
}

void TColorQuantizer::ProcessBitmap(const Bitmap& bgr24) {
  for (int y = 0; y < bgr24.height(); ++y) {
    const std::uint8_t* p = bgr24.row(y);
    for (int x = 0; x < bgr24.width(); ++x, p += 3) addPixel(p[2], p[1], p[0]);
  }
}

int TColorQuantizer::WriteColorTable(std::span<PaletteEntry> table) const {
  int written = 0;
  if (root_ == kNone) return 0;
  // Depth-first, children in branch order; the explicit stack holds at most
  // 8 entries per level.
  std::vector<std::int32_t> stack{root_};
  while (!stack.empty()) {
    const Node& node = nodes_[static_cast<std::size_t>(stack.back())];
    stack.pop_back();
    if (node.isLeaf) {
      if (static_cast<std::size_t>(written) >= table.size()) break;
      PaletteEntry entry{};
      if (node.pixelCount > 0) {
        entry.red = static_cast<std::uint8_t>(node.redSum / node.pixelCount);
        entry.green = static_cast<std::uint8_t>(node.greenSum / node.pixelCount);
        entry.blue = static_cast<std::uint8_t>(node.blueSum / node.pixelCount);
      }
      table[static_cast<std::size_t>(written++)] = entry;
      continue;
    }
    for (int i = 7; i >= 0; --i) {
      if (node.children[static_cast<std::size_t>(i)] != kNone) {
        stack.push_back(node.children[static_cast<std::size_t>(i)]);
      }
    }
  }
  return written;
}

}  // namespace klipora::imaging::gif
