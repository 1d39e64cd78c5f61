#pragma once
// Row orders of GIF image data: top to bottom, or the four interlace passes
// (every 8th row from 0, every 8th from 4, every 4th from 2, every 2nd from 1).

namespace klipora::imaging::gif {

template <typename RowFunction>
void forEachRow(int height, bool interlaced, RowFunction&& onRow) {
  if (!interlaced) {
    for (int y = 0; y < height; ++y) onRow(y);
    return;
  }
  static constexpr int kStart[4] = {0, 4, 2, 1};
  static constexpr int kStep[4] = {8, 8, 4, 2};
  for (int pass = 0; pass < 4; ++pass) {
    for (int y = kStart[pass]; y < height; y += kStep[pass]) onRow(y);
  }
}

}  // namespace klipora::imaging::gif
