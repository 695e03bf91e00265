// The QImage adapters: palette tiles stay palette, truecolour tiles are normalised and greyed.
#include <gtest/gtest.h>

#include <QImage>
#include <QTemporaryDir>

#include "tiles/enhance/TileEnhanceQt.h"

using namespace tw;

TEST(TileEnhanceQt, PaletteAndTruecolourTiles)
{
  QImage pal(256, 256, QImage::Format_Indexed8);
  pal.setColorTable({qRgb(255, 255, 255), qRgb(200, 200, 200), qRgb(100, 100, 100)});
  pal.fill(1);
  EXPECT_FALSE(checkGrayScale(pal));
  const ClassMap pc = parseImage8(pal);
  const QImage p = enhanceTile(pal, &pc, EnhanceSettings{});
  EXPECT_EQ(p.format(), QImage::Format_Indexed8);
  EXPECT_EQ(p.colorTable().value(1), qRgb(100, 100, 100));

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
  EXPECT_EQ(qGray(g.pixel(5, 5)), 76);
  QTemporaryDir dir;
  EXPECT_TRUE(CGImageWriteToFile(g, dir.filePath("t.png")));
  EXPECT_FALSE(CGImageWriteToFile(g, dir.filePath("missing/t.png")));
}
