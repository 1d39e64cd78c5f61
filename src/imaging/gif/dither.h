#pragma once
// Dither engines. Every engine walks the image in serpentine order (row 0
// left to right, row 1 right to left, ...) and maps colours through a
// lookup. The engines are templates over the concrete lookup so that the
// per-pixel path has no virtual call; all error arithmetic is integer, with
// truncating division, and the error rows are allocated once per image.
#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

#include "imaging/gif/color_lookup.h"
#include "imaging/gif/reduction_modes.h"

namespace klipora::imaging::gif {

// Nearest colour, and the column walk all engines share.
template <class Lookup>
class TDitherEngine {
 public:
  TDitherEngine(int width, Lookup& lookup) : width_(width), lookup_(lookup) {}

  int column() const { return column_; }
  int direction() const { return direction_; }

  // Maps the row from the current column in the current direction; the
  // driver then calls EndRow.
  void DitherRow(const std::uint8_t* bgr, std::uint8_t* indexes) {
    int x = column_;
    for (; x >= 0 && x < width_; x += direction_) {
      const std::uint8_t* p = bgr + 3 * x;
      Rgb chosen;
      indexes[x] = lookup_.MapColor(p[2], p[1], p[0], chosen);
    }
    column_ = x;
  }

  void EndRow() {
    direction_ = -direction_;
    column_ = direction_ > 0 ? 0 : width_ - 1;
  }

 protected:
  int width_;
  int direction_ = 1;
  int column_ = 0;
  Lookup& lookup_;
};

// Kernels: weights[row][offset + reach], offsets counted in the direction of
// travel (+1 is the next pixel to be mapped). Row 0 is the current row and
// only has weights ahead of the pixel.
struct FloydSteinbergKernel {
  static constexpr int kDivisor = 16;
  static constexpr int kReach = 1;
  static constexpr int kRows = 2;
  static constexpr int kWeights[kRows][2 * kReach + 1] = {{0, 0, 7}, {3, 5, 1}};
};

struct StuckiKernel {
  static constexpr int kDivisor = 42;
  static constexpr int kReach = 2;
  static constexpr int kRows = 3;
  static constexpr int kWeights[kRows][2 * kReach + 1] = {
      {0, 0, 0, 8, 4}, {2, 4, 8, 4, 2}, {1, 2, 4, 2, 1}};
};

struct SierraKernel {
  static constexpr int kDivisor = 32;
  static constexpr int kReach = 2;
  static constexpr int kRows = 3;
  static constexpr int kWeights[kRows][2 * kReach + 1] = {
      {0, 0, 0, 5, 3}, {2, 4, 5, 4, 2}, {0, 2, 3, 2, 0}};
};

struct JarvisJudiceNinkeKernel {
  static constexpr int kDivisor = 48;
  static constexpr int kReach = 2;
  static constexpr int kRows = 3;
  static constexpr int kWeights[kRows][2 * kReach + 1] = {
      {0, 0, 0, 7, 5}, {3, 5, 7, 5, 3}, {1, 3, 5, 3, 1}};
};

struct BurkesKernel {
  static constexpr int kDivisor = 32;
  static constexpr int kReach = 2;
  static constexpr int kRows = 2;
  static constexpr int kWeights[kRows][2 * kReach + 1] = {{0, 0, 0, 8, 4}, {2, 4, 8, 4, 2}};
};

struct StevensonArceKernel {
  static constexpr int kDivisor = 200;
  static constexpr int kReach = 3;
  static constexpr int kRows = 4;
  static constexpr int kWeights[kRows][2 * kReach + 1] = {{0, 0, 0, 0, 0, 32, 0},
                                                          {12, 0, 26, 0, 30, 0, 16},
                                                          {0, 12, 0, 26, 0, 12, 0},
                                                          {5, 0, 12, 0, 12, 0, 5}};
};

template <class Kernel>
constexpr bool wellFormedKernel() {
  int sum = 0;
  for (int row = 0; row < Kernel::kRows; ++row) {
    for (int i = 0; i < 2 * Kernel::kReach + 1; ++i) {
      const int w = Kernel::kWeights[row][i];
      if (w < 0 || (row == 0 && i <= Kernel::kReach && w != 0)) return false;
      sum += w;
    }
  }
  return sum == Kernel::kDivisor;
}

// Error diffusion with one of the kernels above. Each error row has a slot
// per column plus `reach` edge slots on both sides that absorb the error
// pushed past the image border; slots hold plain sums of error x weight and
// the division by the divisor happens once, when a pixel reads its error.
template <class Lookup, class Kernel>
class TErrorDiffusionDitherer : public TDitherEngine<Lookup> {
  static_assert(wellFormedKernel<Kernel>());
  // No overflow is possible: a slot gathers at most one weight from each
  // kernel position, so |slot| <= 255 * divisor, far inside 32 bits.
  static_assert(255LL * Kernel::kDivisor * 2 < (1LL << 31));

  static constexpr int kReach = Kernel::kReach;
  static constexpr int kSpan = 2 * kReach + 1;
  static constexpr int kBelow = Kernel::kRows - 1;

 public:
  TErrorDiffusionDitherer(int width, Lookup& lookup) : TDitherEngine<Lookup>(width, lookup) {
    for (auto& row : rows_) row.assign(3 * (static_cast<std::size_t>(width) + 2 * kReach), 0);
  }

  // The error for pixels ahead in the same row, and the sums for the slots
  // of the rows below that later pixels still add to, are kept in locals;
  // each slot below is written once it is complete. The sums are the same
  // as adding every weighted error into the rows directly.
  void DitherRow(const std::uint8_t* bgr, std::uint8_t* indexes) {
    const int dir = this->direction_;
    const std::int32_t* current = rows_[0].data();
    int ahead[kReach + 1][3] = {};
    int window[kBelow > 0 ? kBelow : 1][kSpan][3] = {};
    int x = this->column_;
    for (; x >= 0 && x < this->width_; x += dir) {
      const int pos = x + kReach;
      const std::uint8_t* p = bgr + 3 * x;
      const int in[3] = {p[2], p[1], p[0]};
      int v[3];
#pragma GCC unroll 3
      for (int c = 0; c < 3; ++c) {
        v[c] = clamp(in[c] + (current[3 * pos + c] + ahead[0][c] + Kernel::kDivisor / 2) /
                                 Kernel::kDivisor);
      }
      Rgb chosen;
      indexes[x] =
          this->lookup_.MapColor(static_cast<std::uint8_t>(v[0]), static_cast<std::uint8_t>(v[1]),
                                 static_cast<std::uint8_t>(v[2]), chosen);
      const int error[3] = {v[0] - chosen.red, v[1] - chosen.green, v[2] - chosen.blue};
#pragma GCC unroll 3
      for (int c = 0; c < 3; ++c) {
#pragma GCC unroll 4
        for (int j = 0; j < kReach; ++j) {
          ahead[j][c] = ahead[j + 1][c] + Kernel::kWeights[0][kReach + 1 + j] * error[c];
        }
      }
#pragma GCC unroll 4
      for (int k = 0; k < kBelow; ++k) {
        std::int32_t* slots = rows_[static_cast<std::size_t>(k + 1)].data();
        std::int32_t* done = slots + 3 * (pos - kReach * dir);
#pragma GCC unroll 3
        for (int c = 0; c < 3; ++c) {
          done[c] += window[k][0][c] + Kernel::kWeights[k + 1][0] * error[c];
#pragma GCC unroll 8
          for (int i = 1; i < kSpan; ++i) {
            window[k][i - 1][c] = window[k][i][c] + Kernel::kWeights[k + 1][i] * error[c];
          }
          window[k][kSpan - 1][c] = 0;
        }
      }
    }
    // Slots the last pixels still had pending (edge slots included).
    const int next = x + kReach;
    for (int k = 0; k < kBelow; ++k) {
      std::int32_t* slots = rows_[static_cast<std::size_t>(k + 1)].data();
      for (int i = 0; i + 1 < kSpan; ++i) {
        std::int32_t* slot = slots + 3 * (next + (i - kReach) * dir);
        for (int c = 0; c < 3; ++c) slot[c] += window[k][i][c];
      }
    }
    this->column_ = x;
  }

  void EndRow() {
    std::fill(rows_[0].begin(), rows_[0].end(), 0);
    std::rotate(rows_.begin(), rows_.begin() + 1, rows_.end());
    TDitherEngine<Lookup>::EndRow();
  }

 private:
  static int clamp(int v) { return v < 0 ? 0 : (v > 255 ? 255 : v); }

  // rows_[0] is the current row, rows_[k] the k-th row below; one slot per
  // column plus kReach edge slots on each side, three interleaved channels
  // per slot. Recycled by rotation at each row end.
  std::array<std::vector<std::int32_t>, Kernel::kRows> rows_;
};

template <class Lookup>
using TFloydSteinbergDitherer = TErrorDiffusionDitherer<Lookup, FloydSteinbergKernel>;
template <class Lookup>
using TStuckiDitherer = TErrorDiffusionDitherer<Lookup, StuckiKernel>;
template <class Lookup>
using TSierraDitherer = TErrorDiffusionDitherer<Lookup, SierraKernel>;
template <class Lookup>
using TJaJuNiDitherer = TErrorDiffusionDitherer<Lookup, JarvisJudiceNinkeKernel>;
template <class Lookup>
using TBurkesDitherer = TErrorDiffusionDitherer<Lookup, BurkesKernel>;
template <class Lookup>
using TSteveArcheDitherer = TErrorDiffusionDitherer<Lookup, StevensonArceKernel>;

}  // namespace klipora::imaging::gif
