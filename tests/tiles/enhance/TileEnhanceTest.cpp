// The print preparation rules: pixel classes, road joining and thickening, the recolouring
// rules in order, palette tiles and grey output.
#include <gtest/gtest.h>

#include <array>
#include <tuple>

#include "tiles/enhance/TileEnhance.h"

using namespace tw;

namespace {

Image32 filled(Rgb c, uint8_t a = 255)
{
  Image32 img(kTileSize, kTileSize);
  for (int y = 0; y < kTileSize; ++y)
    for (int x = 0; x < kTileSize; ++x) {
      uint8_t* p = img.at(x, y);
      p[0] = c.r, p[1] = c.g, p[2] = c.b, p[3] = a;
    }
  return img;
}
void put(Image32& img, int x, int y, Rgb c) { img.at(x, y)[0] = c.r, img.at(x, y)[1] = c.g, img.at(x, y)[2] = c.b; }
Rgb get(const Image32& img, int x, int y) { return {img.at(x, y)[0], img.at(x, y)[1], img.at(x, y)[2]}; }

}  // namespace

TEST(TileEnhance, ClassesAndDerivedColours)
{
  EXPECT_EQ((std::array{pixelClass({99, 99, 99}), pixelClass({100, 100, 100}), pixelClass({239, 239, 239}),
                        pixelClass({240, 240, 240}), pixelClass({50, 50, 51})}),
            (std::array<int, 5>{kClassRoad, kClassLight, kClassLight, kClassOther, kClassOther}));
  EXPECT_EQ(roadColor(30), (Rgb{70, 70, 70}));
  EXPECT_EQ(contourColor(false, 0.5, 0.0, 1.0), kContourColor);
}

TEST(TileEnhance, RecolouringRulesInOrder)
{
  EnhanceSettings off;
  EnhanceSettings on = off;
  on.road = on.river = on.building = true;
  EnhanceSettings contour = off;
  contour.contour_color = contourColor(true, 0.5, 0.0, 1.0);
  EnhanceSettings noRiver = on;
  noRiver.river = false;
  EnhanceSettings deep = off;
  deep.road_depth = 150;  // out of range: never below zero
  struct Case { Rgb in; int cls; const EnhanceSettings& s; bool palette; Rgb out; };
  const Case cases[] = {
      {{250, 245, 240}, 2, on, false, {250, 245, 240}},    // 1: near white
      {{40, 40, 40}, 2, on, false, {40, 40, 40}},          // 2: dark grey
      {{100, 100, 100}, 0, on, false, {0, 0, 0}},          // 3: exact grey 100 → road colour
      {{200, 200, 200}, kClassLight, off, false, {100, 100, 100}},  // 4: unjoined light grey
      {{200, 200, 200}, kClassRoad, off, false, {200, 200, 200}},
      {{200, 200, 200}, kClassRoad, off, true, {100, 100, 100}},    // palettes: every light grey
      {{120, 120, 120}, kClassLight, deep, false, {0, 0, 0}},
      {{255, 255, 0}, 0, off, false, {255, 255, 0}},       // 5 off
      {{255, 255, 0}, 0, on, false, {255, 255, 255}},      // 5: road fills
      {{255, 122, 122}, 0, on, false, {255, 255, 255}},
      {{255, 200, 150}, 0, on, false, {50, 50, 50}},       // 6: buildings
      {{150, 200, 250}, 0, on, false, {16, 72, 204}},      // 7: rivers
      {{150, 200, 250}, 0, noRiver, false, {150, 200, 250}},  // a matching rule that is off ends the test
      {{180, 180, 120}, 0, on, false, {120, 120, 120}},    // 8
      {{130, 200, 140}, 0, on, false, {140, 140, 140}},    // 9
      {{100, 200, 140}, 0, on, false, {100, 200, 140}},
      {{200, 160, 60}, 0, contour, false, {127, 0, 255}},  // 10: contours
      {{230, 200, 150}, 0, contour, false, {157, 40, 255}},
      {{240, 170, 100}, 0, contour, false, {240, 170, 100}},  // G × 1.3 not above 240
      {{30, 20, 200}, 0, on, false, {0, 0, 0}},            // 12
      {{30, 20, 200}, 0, off, false, {30, 20, 200}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(recolor(c.in, c.cls, c.s, c.palette), c.out) << int(c.in.r) << "," << int(c.in.g) << "," << int(c.in.b);
}

TEST(TileEnhance, RoadJoiningAndThickening)
{
  // A dark line in column 0 and light grey beside it: columns 1..5 join, 6 onward stay light.
  Image32 img = filled({200, 200, 200}, 128);
  for (int y = 0; y < kTileSize; ++y) put(img, 0, y, {50, 50, 50});
  const ClassMap c = parseImage32(img.view());
  EXPECT_EQ(std::tuple(c[100 * kTileSize + 5], c[100 * kTileSize + 6]), std::tuple(kClassRoad, kClassLight));
  const Image32 out = convertColor32(img.view(), c, EnhanceSettings{});
  EXPECT_EQ(get(out, 5, 7), (Rgb{200, 200, 200}));  // joined: kept
  EXPECT_EQ(get(out, 6, 7), (Rgb{100, 100, 100}));  // darkened by the road depth
  EXPECT_EQ(out.at(6, 7)[3], 128);                  // alpha kept

  // Diagonal steps count as one; isolated light grey grows by one pixel, clipped at the edge.
  Image32 d = filled({255, 255, 255});
  put(d, 10, 10, {0, 0, 0});
  for (int i = 1; i <= 7; ++i) put(d, 10 + i, 10 + i, {180, 180, 180});
  put(d, 50, 50, {150, 150, 150});
  put(d, 0, 0, {150, 150, 150});
  const ClassMap dc = parseImage32(d.view());
  EXPECT_EQ(std::tuple(dc[15 * kTileSize + 15], dc[16 * kTileSize + 16]), std::tuple(kClassRoad, kClassLight));
  const Image32 t = thickRoad32(d.view(), dc);  // and joined light grey (12, 11) does not grow
  EXPECT_EQ((std::array{get(t, 49, 51), get(t, 52, 50), get(t, 1, 1), get(t, 12, 11)}),
            (std::array<Rgb, 4>{{{100, 100, 100}, {255, 255, 255}, {100, 100, 100}, {255, 255, 255}}}));
  EXPECT_EQ(get(d, 50, 49), (Rgb{255, 255, 255}));  // the source is untouched
}

TEST(TileEnhance, PaletteTiles)
{
  EXPECT_EQ(roadIndex({{0, 0, 0}, {150, 150, 150}, {100, 100, 100}}), 2);
  EXPECT_EQ(roadIndex({{0, 0, 0}, {150, 150, 150}, {120, 120, 120}, {120, 120, 120}, {100, 100, 101}}), 2);
  EXPECT_EQ(roadIndex({{0, 0, 0}, {240, 240, 240}, {255, 0, 0}}), 255);
  Image8 img(kTileSize, kTileSize);
  img.table = {{255, 255, 255}, {180, 180, 180}, {255, 0, 0}};
  img.at(20, 20) = 1;  // light grey, isolated
  const Image8 t = thickRoad8(img, parseImage8(img));
  EXPECT_TRUE(t.at(19, 19) == 1 && t.table == img.table);
  // Recolouring rewrites only the table; grey output maps it, an index beyond it reads black.
  EnhanceSettings s;
  s.road = true;
  img.table = {{255, 255, 255}, {200, 200, 200}, {100, 100, 100}, {255, 255, 0}};
  const Image8 out = convertImage8(img, s);
  EXPECT_EQ(out.indices, img.indices);
  EXPECT_EQ(out.table, (std::vector<Rgb>{{255, 255, 255}, {100, 100, 100}, {0, 0, 0}, {255, 255, 255}}));
  img.at(3, 3) = 7;
  EXPECT_EQ(std::tuple(grayImage8(img).at(3, 3), grayImage8(img).at(0, 0)), std::tuple(uint8_t{0}, uint8_t{255}));
}

TEST(TileEnhance, PipelineGreyAndPlaceholders)
{
  Image32 img = filled({255, 255, 255});
  put(img, 2, 0, {255, 0, 0});
  EnhanceSettings s;
  s.gray = true;
  const ClassMap c = parseImage32(img.view());
  const EnhancedTile g = enhanceTile32(img.view(), &c, s);
  EXPECT_TRUE(g.kind == EnhancedTile::kGray && g.gray.at(2, 0) == 76);
  // A tile without a class map (the placeholder) is never thickened.
  s = EnhanceSettings{};
  s.strong_road = true;
  const Image32 grey = filled({200, 200, 200});
  EXPECT_EQ(enhanceTile32(grey.view(), nullptr, s).rgba.pixels, grey.pixels);
  Image8 pal(kTileSize, kTileSize);
  pal.table = {{200, 200, 200}};
  const EnhancedTile p = enhanceTile8(pal, nullptr, s);
  EXPECT_TRUE(p.kind == EnhancedTile::kPalette && p.palette.table[0] == (Rgb{100, 100, 100}));
}
