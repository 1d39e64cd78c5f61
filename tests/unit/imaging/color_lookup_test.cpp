#include "imaging/gif/color_lookup.h"

#include <gtest/gtest.h>

#include "imaging/gif/palettes.h"

namespace klipora::imaging::gif {
namespace {

struct Mapping {
  Rgb in;
  int index;
  Rgb out;
};

template <class Lookup>
void expectMappings(Lookup& lookup, std::initializer_list<Mapping> cases) {
  for (const Mapping& c : cases) {
    Rgb out;
    EXPECT_EQ(lookup.MapColor(c.in.red, c.in.green, c.in.blue, out), c.index)
        << int{c.in.red} << "," << int{c.in.green} << "," << int{c.in.blue};
    EXPECT_EQ(out, c.out) << int{c.in.red} << "," << int{c.in.green} << "," << int{c.in.blue};
  }
}

TEST(WebLookup, LevelsChangeAt48_99_150_201_252) {
  TNetscapeColorLookup lookup;
  EXPECT_EQ(lookup.colorCount(), 216);
  expectMappings(lookup, {{{0, 0, 47}, 0, {0, 0, 0}},
                          {{0, 0, 48}, 1, {0, 0, 51}},
                          {{0, 98, 0}, 6, {0, 51, 0}},
                          {{0, 99, 0}, 12, {0, 102, 0}},
                          {{150, 0, 0}, 108, {153, 0, 0}},
                          {{201, 201, 201}, 172, {204, 204, 204}},
                          {{251, 0, 0}, 144, {204, 0, 0}},
                          {{252, 0, 0}, 180, {255, 0, 0}},
                          {{255, 128, 0}, 192, {255, 102, 0}},
                          {{255, 255, 255}, 215, {255, 255, 255}}});
}

TEST(WebLookup, PaletteFollowsTheIndexRule) {
  const Palette web = webPalette216();
  ASSERT_EQ(web.size(), 216u);
  EXPECT_EQ(web[0], (PaletteEntry{0, 0, 0, 0}));
  EXPECT_EQ(web[5], (PaletteEntry{0, 0, 255, 0}));
  EXPECT_EQ(web[35], (PaletteEntry{0, 255, 255, 0}));
  EXPECT_EQ(web[36], (PaletteEntry{51, 0, 0, 0}));
  EXPECT_EQ(web[215], (PaletteEntry{255, 255, 255, 0}));
}

TEST(MonochromeAndGreyLookups, Thresholds) {
  TMonochromeLookup mono;
  expectMappings(mono, {{{127, 127, 127}, 0, {0, 0, 0}},
                        {{128, 128, 128}, 1, {255, 255, 255}},
                        {{255, 0, 0}, 0, {0, 0, 0}},
                        {{0, 255, 0}, 1, {255, 255, 255}}});
  TGrayScaleLookup grey;
  expectMappings(grey, {{{255, 0, 0}, 76, {76, 76, 76}},
                        {{255, 255, 255}, 255, {255, 255, 255}},
                        {{10, 20, 30}, 18, {18, 18, 18}}});
  EXPECT_EQ(grayPalette4(),
            (Palette{{0, 0, 0, 4}, {128, 128, 128, 4}, {192, 192, 192, 4}, {255, 255, 255, 4}}));
}

TEST(FastLookup, FirstColourOfACellDecidesForTheWholeCell) {
  const Palette palette{{0, 0, 0, 0}, {40, 40, 40, 0}};
  {
    TFastColorLookup lookup(palette);
    expectMappings(lookup, {{{23, 23, 23}, 1, {40, 40, 40}}, {{16, 16, 16}, 1, {40, 40, 40}}});
  }
  {
    TFastColorLookup lookup(palette);
    expectMappings(lookup, {{{16, 16, 16}, 0, {0, 0, 0}}, {{23, 23, 23}, 0, {0, 0, 0}}});
  }
}

TEST(FastLookup, NearestByChannelDistanceLowestIndexOnTies) {
  struct Case {
    Palette palette;
    Rgb color;
    int index;
  };
  const Case cases[] = {
      // 384 against 381.
      {{{0, 0, 0, 0}, {255, 255, 255, 0}}, {128, 128, 128}, 1},
      // Both at 24, neither in the colour's cell.
      {{{120, 120, 120, 0}, {136, 136, 136, 0}}, {128, 128, 128}, 0},
      {{{136, 136, 136, 0}, {120, 120, 120, 0}}, {128, 128, 128}, 0},
      // The entry in the colour's own cell wins though entry 0 is nearer.
      {{{23, 23, 23, 0}, {31, 31, 31, 0}}, {24, 24, 24}, 1},
      // Two entries in one cell: the first one claims it.
      {{{0, 0, 0, 0}, {30, 30, 30, 0}, {24, 24, 24, 0}}, {24, 24, 24}, 1},
      {{{0, 0, 0, 0}, {24, 24, 24, 0}, {30, 30, 30, 0}}, {30, 30, 30}, 1},
      // No colours at all.
      {{}, {200, 10, 10}, 0},
  };
  for (const Case& c : cases) {
    TFastColorLookup lookup(c.palette);
    EXPECT_EQ(lookup.colorCount(), static_cast<int>(c.palette.size()));
    Rgb out;
    EXPECT_EQ(lookup.MapColor(c.color.red, c.color.green, c.color.blue, out), c.index)
        << "palette of " << c.palette.size() << ", first entry "
        << int{c.palette.empty() ? 0 : c.palette[0].red};
  }
}

TEST(FastLookup, CopiesAtMost256Entries) {
  Palette palette(300, PaletteEntry{1, 2, 3, 0});
  palette[299] = {200, 200, 200, 0};
  TFastColorLookup lookup(palette);
  EXPECT_EQ(lookup.colorCount(), 256);
  Rgb out;
  EXPECT_EQ(lookup.MapColor(200, 200, 200, out), 0);
}

}  // namespace
}  // namespace klipora::imaging::gif
