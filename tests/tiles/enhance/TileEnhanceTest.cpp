#include <gtest/gtest.h>

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

void put(Image32& img, int x, int y, Rgb c)
{
  uint8_t* p = img.at(x, y);
  p[0] = c.r, p[1] = c.g, p[2] = c.b;
}

Rgb get(const Image32& img, int x, int y)
{
  const uint8_t* p = img.at(x, y);
  return {p[0], p[1], p[2]};
}

EnhanceSettings defaults()
{
  EnhanceSettings s;
  s.road_color = roadColor(100);
  s.road_depth = 100;
  return s;
}

}  // namespace

TEST(TileEnhance, PixelClassesAndDerivedColours)
{
  EXPECT_EQ(pixelClass({99, 99, 99}), kClassRoad);
  EXPECT_EQ(pixelClass({100, 100, 100}), kClassLight);
  EXPECT_EQ(pixelClass({239, 239, 239}), kClassLight);
  EXPECT_EQ(pixelClass({240, 240, 240}), kClassOther);
  EXPECT_EQ(pixelClass({50, 50, 51}), kClassOther);

  EXPECT_EQ(roadColor(100), (Rgb{0, 0, 0}));
  EXPECT_EQ(roadColor(0), (Rgb{100, 100, 100}));
  EXPECT_EQ(roadColor(30), (Rgb{70, 70, 70}));
  EXPECT_EQ(contourColor(false, 0.5, 0.0, 1.0), (Rgb{200, 160, 60}));
  EXPECT_EQ(contourColor(true, 0.5, 0.0, 1.0), (Rgb{127, 0, 255}));
}

TEST(TileEnhance, RecolouringExamples)
{
  EnhanceSettings s = defaults();
  s.contour_color = contourColor(true, 0.5, 0.0, 1.0);
  EXPECT_EQ(recolor({200, 160, 60}, 0, s, false), (Rgb{127, 0, 255}));
  EXPECT_EQ(recolor({230, 200, 150}, 0, s, false), (Rgb{157, 40, 255}));
  // Not a contour edge: G × 1.3 = 221 is not above 240.
  EXPECT_EQ(recolor({240, 170, 100}, 0, s, false), (Rgb{240, 170, 100}));
  s.building = true;
  EXPECT_EQ(recolor({240, 170, 100}, 0, s, false), (Rgb{0, 0, 0}));
  s.building = false;
  s.road = true;
  EXPECT_EQ(recolor({240, 170, 100}, 0, s, false), (Rgb{0, 0, 0}));
}

TEST(TileEnhance, RulesInOrderWithSwitches)
{
  EnhanceSettings off = defaults();
  EnhanceSettings on = off;
  on.road = on.river = on.building = true;
  for (const auto& s : {off, on}) {
    EXPECT_EQ(recolor({250, 245, 240}, 2, s, false), (Rgb{250, 245, 240}));  // rule 1
    EXPECT_EQ(recolor({40, 40, 40}, 2, s, false), (Rgb{40, 40, 40}));        // rule 2
    EXPECT_EQ(recolor({100, 100, 100}, 0, s, false), s.road_color);          // rule 3
  }
  // Rule 4: the 32-bit path darkens class 2 only, the palette path every light grey.
  EXPECT_EQ(recolor({200, 200, 200}, kClassLight, off, false), (Rgb{100, 100, 100}));
  EXPECT_EQ(recolor({200, 200, 200}, kClassRoad, off, false), (Rgb{200, 200, 200}));
  EXPECT_EQ(recolor({200, 200, 200}, kClassRoad, off, true), (Rgb{100, 100, 100}));
  EnhanceSettings deep = off;
  deep.road_depth = 150;  // never below zero even with an out-of-range depth
  EXPECT_EQ(recolor({120, 120, 120}, kClassLight, deep, false), (Rgb{0, 0, 0}));

  EXPECT_EQ(recolor({255, 255, 0}, 0, off, false), (Rgb{255, 255, 0}));        // rule 5 off
  EXPECT_EQ(recolor({255, 255, 0}, 0, on, false), (Rgb{255, 255, 255}));       // rule 5
  EXPECT_EQ(recolor({100, 195, 115}, 0, on, false), (Rgb{255, 255, 255}));
  EXPECT_EQ(recolor({255, 122, 122}, 0, on, false), (Rgb{255, 255, 255}));
  EXPECT_EQ(recolor({255, 200, 150}, 0, on, false), (Rgb{50, 50, 50}));       // rule 6
  EXPECT_EQ(recolor({255, 200, 150}, 0, off, false), (Rgb{255, 200, 150}));
  EXPECT_EQ(recolor({150, 200, 250}, 0, on, false), (Rgb{16, 72, 204}));      // rule 7
  EXPECT_EQ(recolor({180, 180, 120}, 0, on, false), (Rgb{120, 120, 120}));    // rule 8
  EXPECT_EQ(recolor({130, 200, 140}, 0, on, false), (Rgb{140, 140, 140}));    // rule 9
  EXPECT_EQ(recolor({100, 200, 140}, 0, on, false), (Rgb{100, 200, 140}));   // rule 9, R and B apart
  EXPECT_EQ(recolor({30, 20, 200}, 0, on, false), (Rgb{0, 0, 0}));            // rule 12
  EXPECT_EQ(recolor({30, 20, 200}, 0, off, false), (Rgb{30, 20, 200}));
  EXPECT_EQ(recolor({200, 160, 60}, 0, off, false), (Rgb{200, 160, 60}));     // rule 10 unchanged
  // A matching rule with its switch off ends the test: river blue is not turned black by rule 12.
  EnhanceSettings noRiver = on;
  noRiver.river = false;
  EXPECT_EQ(recolor({150, 200, 250}, 0, noRiver, false), (Rgb{150, 200, 250}));
}

TEST(TileEnhance, RoadJoiningReachesFiveSteps)
{
  // A dark line in column 0 and light grey to its right: columns 1..5 join, 6 onward stay 2.
  Image32 img = filled({200, 200, 200});
  for (int y = 0; y < kTileSize; ++y) put(img, 0, y, {50, 50, 50});
  const ClassMap c = parseImage32(img.view());
  ASSERT_EQ(c.size(), kClassMapSize);
  for (int x = 0; x <= 5; ++x) EXPECT_EQ(c[100 * kTileSize + x], kClassRoad) << x;
  for (int x = 6; x < 10; ++x) EXPECT_EQ(c[100 * kTileSize + x], kClassLight) << x;

  // Diagonal steps count as one (8-connected), and light grey behind white is not reached.
  Image32 d = filled({255, 255, 255});
  put(d, 10, 10, {0, 0, 0});
  for (int i = 1; i <= 7; ++i) put(d, 10 + i, 10 + i, {180, 180, 180});
  const ClassMap dc = parseImage32(d.view());
  for (int i = 1; i <= 5; ++i) EXPECT_EQ(dc[(10 + i) * kTileSize + 10 + i], kClassRoad) << i;
  EXPECT_EQ(dc[16 * kTileSize + 16], kClassLight);
  EXPECT_EQ(dc[17 * kTileSize + 17], kClassLight);
}

TEST(TileEnhance, DefaultSwitchesDarkenOnlyUnjoinedLightGrey)
{
  Image32 img = filled({200, 200, 200}, 128);
  for (int y = 0; y < kTileSize; ++y) put(img, 0, y, {50, 50, 50});
  put(img, 200, 200, {100, 100, 100});
  put(img, 201, 200, {10, 200, 30});
  const ClassMap c = parseImage32(img.view());
  const Image32 out = convertColor32(img.view(), c, defaults());
  EXPECT_EQ(get(out, 0, 7), (Rgb{50, 50, 50}));
  EXPECT_EQ(get(out, 5, 7), (Rgb{200, 200, 200}));  // joined: kept
  EXPECT_EQ(get(out, 6, 7), (Rgb{100, 100, 100}));  // darkened by 100
  EXPECT_EQ(get(out, 200, 200), (Rgb{0, 0, 0}));    // exact 100 → road colour
  EXPECT_EQ(get(out, 201, 200), (Rgb{10, 200, 30}));
  EXPECT_EQ(out.at(6, 7)[3], 128);  // alpha kept

  EnhanceSettings shallow = defaults();
  shallow.road_depth = 0;
  shallow.road_color = roadColor(0);
  const Image32 keep = convertColor32(img.view(), c, shallow);
  EXPECT_EQ(get(keep, 6, 7), (Rgb{200, 200, 200}));
  EXPECT_EQ(get(keep, 200, 200), (Rgb{100, 100, 100}));
}

TEST(TileEnhance, ThickeningGrowsLightGreyByOnePixel)
{
  Image32 img = filled({255, 255, 255});
  put(img, 50, 50, {150, 150, 150});  // isolated light grey: class 2
  put(img, 0, 0, {150, 150, 150});    // at the corner: clipped window
  put(img, 100, 100, {30, 30, 30});   // dark grey with light grey beside it
  put(img, 101, 100, {150, 150, 150});
  const ClassMap c = parseImage32(img.view());
  const Image32 t = thickRoad32(img.view(), c);
  for (int y = 49; y <= 51; ++y)
    for (int x = 49; x <= 51; ++x) EXPECT_EQ(get(t, x, y), (Rgb{100, 100, 100}));
  EXPECT_EQ(get(t, 52, 50), (Rgb{255, 255, 255}));
  EXPECT_EQ(get(t, 1, 1), (Rgb{100, 100, 100}));
  EXPECT_EQ(get(t, 2, 2), (Rgb{255, 255, 255}));
  EXPECT_EQ(get(t, 102, 100), (Rgb{255, 255, 255}));  // joined light grey is class 1: no growth
  EXPECT_EQ(get(img, 50, 50), (Rgb{150, 150, 150}));  // source untouched
}

TEST(TileEnhance, PaletteRoadIndexChoice)
{
  EXPECT_EQ(roadIndex({{0, 0, 0}, {150, 150, 150}, {100, 100, 100}}), 2);
  EXPECT_EQ(roadIndex({{0, 0, 0}, {150, 150, 150}, {120, 120, 120}, {120, 120, 120}, {100, 100, 101}}), 2);
  EXPECT_EQ(roadIndex({{0, 0, 0}, {240, 240, 240}, {255, 0, 0}}), 255);

  Image8 img(kTileSize, kTileSize);
  img.table = {{255, 255, 255}, {180, 180, 180}, {255, 0, 0}};
  img.at(20, 20) = 1;  // light grey, isolated
  const ClassMap c = parseImage8(img);
  EXPECT_EQ(c[20 * kTileSize + 20], kClassLight);
  const Image8 t = thickRoad8(img, c);
  EXPECT_EQ(t.at(19, 19), 1);  // darkest grey 101..239 is entry 1
  EXPECT_EQ(t.table, img.table);

  Image8 nogrey = img;
  nogrey.table = {{255, 255, 255}, {200, 0, 0}};
  Image8 marked = nogrey;
  ClassMap cm(kClassMapSize, kClassOther);
  cm[30 * kTileSize + 30] = kClassLight;
  marked = thickRoad8(nogrey, cm);
  EXPECT_EQ(marked.at(31, 31), 255);
  EXPECT_EQ(marked.at(32, 32), 0);
}

TEST(TileEnhance, PaletteRecolouringRewritesOnlyTheTable)
{
  Image8 img(kTileSize, kTileSize);
  img.table = {{255, 255, 255}, {200, 200, 200}, {100, 100, 100}, {255, 255, 0}};
  for (int i = 0; i < kTileSize; ++i) img.at(i, i) = uint8_t(i % 4);
  EnhanceSettings s = defaults();
  s.road = true;
  const Image8 out = convertImage8(img, s);
  EXPECT_EQ(out.indices, img.indices);
  EXPECT_EQ(out.table, (std::vector<Rgb>{{255, 255, 255}, {100, 100, 100}, {0, 0, 0}, {255, 255, 255}}));
}

TEST(TileEnhance, GreyOutput)
{
  EXPECT_EQ(grayValue({255, 255, 255}), 255);
  EXPECT_EQ(grayValue({100, 100, 100}), 100);
  EXPECT_EQ(grayValue({255, 0, 0}), 76);

  Image32 img = filled({255, 255, 255});
  put(img, 1, 0, {100, 100, 100});
  put(img, 2, 0, {255, 0, 0});
  const Gray8 g = grayImage32(img);
  EXPECT_EQ(g.at(0, 0), 255);
  EXPECT_EQ(g.at(2, 0), 76);

  EnhanceSettings s = defaults();
  s.road_depth = 0;
  s.road_color = roadColor(0);
  s.gray = true;
  const ClassMap c = parseImage32(img.view());
  const EnhancedTile t = enhanceTile32(img.view(), &c, s);
  ASSERT_EQ(t.kind, EnhancedTile::kGray);
  EXPECT_EQ(t.gray.at(1, 0), 100);
  EXPECT_EQ(t.gray.at(2, 0), 76);

  Image8 pal(kTileSize, kTileSize);
  pal.table = {{255, 0, 0}};
  pal.at(3, 3) = 7;  // beyond the table: black, not a stray read
  const Gray8 pg = grayImage8(pal);
  EXPECT_EQ(pg.at(0, 0), 76);
  EXPECT_EQ(pg.at(3, 3), 0);
}

TEST(TileEnhance, PlaceholderSkipsClassSteps)
{
  Image32 img = filled({200, 200, 200});
  EnhanceSettings s = defaults();
  s.strong_road = true;
  const EnhancedTile t = enhanceTile32(img.view(), nullptr, s);
  EXPECT_EQ(t.rgba.pixels, img.pixels);

  Image8 pal(kTileSize, kTileSize);
  pal.table = {{200, 200, 200}};
  const EnhancedTile p = enhanceTile8(pal, nullptr, s);
  ASSERT_EQ(p.kind, EnhancedTile::kPalette);
  EXPECT_EQ(p.palette.table[0], (Rgb{100, 100, 100}));
}
