#pragma once
// The LZW dictionary: an open-addressed table of (prefix, pixel) -> code.
// Probing doubles the slot index modulo a prime; 2 has order 4,004 there,
// so each probe cycle has more slots than the encoder ever fills (< 3,840).
#include <algorithm>
#include <cstdint>
#include <memory>

namespace klipora::imaging::gif {

class THashTable {
 public:
  static constexpr int kSize = 8009;
  static constexpr std::uint32_t kEmpty = 0xFFFFFFFFu;

  THashTable() : slots_(std::make_unique<std::uint32_t[]>(kSize)) { clear(); }

  void clear() { std::fill(slots_.get(), slots_.get() + kSize, kEmpty); }

  // key = (prefix << 8) | pixel, below 2^20. Returns the code or -1.
  int lookup(std::uint32_t key) const {
    for (int h = hash(key);; h = nextProbe(h)) {
      const std::uint32_t slot = slots_[h];
      if ((slot >> 12) == (kEmpty >> 12)) return -1;
      if ((slot >> 12) == key) return static_cast<int>(slot & 0xFFF);
    }
  }

  void insert(std::uint32_t key, int code) {
    int h = hash(key);
    while ((slots_[h] >> 12) != (kEmpty >> 12)) h = nextProbe(h);
    slots_[h] = (key << 12) | static_cast<std::uint32_t>(code);
  }

  static int hash(std::uint32_t key) { return static_cast<int>((key ^ (key >> 4)) % kSize); }
  static int nextProbe(int h) {
    if (h == 0) return kSize - 1;
    const int next = h - (kSize - h);
    return next < 0 ? next + kSize : next;
  }

 private:
  std::unique_ptr<std::uint32_t[]> slots_;
};

}  // namespace klipora::imaging::gif
