#pragma once
// The colour reduction and dither modes. The ordinals are part of the
// enumerations: settings and callers pass them as numbers.

namespace klipora::imaging::gif {

enum TColorReduction : int {
  ReductionNone = 0,
  ReductionWindows20 = 1,
  ReductionHalftone256 = 2,
  ReductionGray4 = 3,
  ReductionMonochrome = 4,
  ReductionGray256 = 5,
  ReductionWeb216 = 6,
  ReductionOctree = 7,
  ReductionOctreeWindows = 8,
  ReductionCustomPalette = 9,
};

enum TDitherMode : int {
  DitherNearest = 0,
  DitherFloydSteinberg = 1,
  DitherStucki = 2,
  DitherSierra = 3,
  DitherJarvisJudiceNinke = 4,
  DitherStevensonArce = 5,
  DitherBurkes = 6,
};

}  // namespace klipora::imaging::gif
