#include <gtest/gtest.h>

#include <QImage>
#include <QTemporaryDir>

#include "support/TestPaths.h"
#include "tiles/enhance/TileEnhanceQt.h"

using namespace tw;

TEST(TileEnhanceQt, PaletteTileStaysPalette)
{
  QImage pal(256, 256, QImage::Format_Indexed8);
  pal.setColorTable({qRgb(255, 255, 255), qRgb(200, 200, 200), qRgb(100, 100, 100)});
  pal.fill(1);
  EXPECT_FALSE(checkGrayScale(pal));
  EnhanceSettings s;
  s.road_color = roadColor(100);
  const ClassMap c = parseImage8(pal);
  const QImage out = enhanceTile(pal, &c, s);
  EXPECT_EQ(out.format(), QImage::Format_Indexed8);
  EXPECT_EQ(out.colorTable().value(1), qRgb(100, 100, 100));
  EXPECT_EQ(out.pixelIndex(10, 10), 1);
}

TEST(TileEnhanceQt, TruecolourTileIsNormalizedAndGreyed)
{
  QImage rgb(256, 256, QImage::Format_RGB32);
  rgb.fill(qRgb(255, 0, 0));
  EXPECT_TRUE(checkGrayScale(rgb));
  const QImage n = normalize(rgb);
  EXPECT_EQ(n.format(), QImage::Format_RGBA8888_Premultiplied);
  const ClassMap c = parseImage32(n);
  EnhanceSettings s;
  s.gray = true;
  const QImage g = enhanceTile(n, &c, s);
  EXPECT_EQ(g.format(), QImage::Format_Grayscale8);
  EXPECT_EQ(qGray(g.pixel(5, 5)) , 76);

  QTemporaryDir dir;
  EXPECT_TRUE(CGImageWriteToFile(g, dir.filePath("t.png")));
  EXPECT_FALSE(CGImageWriteToFile(g, dir.filePath("missing/t.png")));
}

TEST(TileEnhanceQt, RealStandardTile)
{
  TW_REQUIRE_CORPUS();
  QImage img(QString::fromStdString(twtest::corpusDir() + "/gsi/std/14/14622/6017.png"));
  ASSERT_FALSE(img.isNull());
  ASSERT_TRUE(checkGrayScale(img));  // GSI standard tiles are truecolour
  const QImage n = normalize(img);
  const ClassMap c = parseImage32(n);
  int marked = 0;
  for (std::size_t i = 0; i + 1 < c.size(); ++i) marked += c[i] != kClassOther;
  EXPECT_GT(marked, 0);  // a town tile has grey roads and buildings
  EnhanceSettings s;
  s.road_color = roadColor(100);
  s.strong_road = true;
  const QImage out = enhanceTile(n, &c, s);
  EXPECT_EQ(out.size(), img.size());
}
