// Decoding real GSI tiles and the print side data.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QFile>

#include "support/TestPaths.h"
#include "tiles/TileDecode.h"

namespace {
QByteArray corpusFile(const std::string& relative)
{
  QFile f(QString::fromStdString(twtest::corpusDir() + "/" + relative));
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
}  // namespace

TEST(TileDecode, PaletteTileStaysIndexedWithItsColourTable)
{
  TW_REQUIRE_CORPUS();
  const QByteArray body = corpusFile("osm/7/40/44.png");  // an 8-bit colormap PNG
  ASSERT_FALSE(body.isEmpty());
  const QImage img = tw::decodeTile(body);
  ASSERT_FALSE(img.isNull());
  EXPECT_EQ(img.size(), QSize(256, 256));
  EXPECT_EQ(img.format(), QImage::Format_Indexed8);
  EXPECT_GT(img.colorTable().size(), 1);

  tw::Tile k;
  k.x = 40;
  k.y = 44;
  k.zoom = 7;
  k.map = tw::kMapOSM;
  const MapImagePtr print = tw::makeMapImage(body, k, true);
  ASSERT_NE(print, nullptr);
  EXPECT_EQ(print->image.format(), QImage::Format_Indexed8);  // the palette path keeps the pixels
  EXPECT_EQ(print->image.colorTable(), img.colorTable());
  ASSERT_NE(print->data, nullptr);
  EXPECT_EQ(print->data->size(), tw::kClassMapSize);
  EXPECT_EQ(print->tile.x, 40);
  EXPECT_EQ(print->tile.map, tw::kMapOSM);
  EXPECT_FALSE(print->draw);
}

TEST(TileDecode, GsiStandardTruecolourTileTakesThe32BitPath)
{
  TW_REQUIRE_CORPUS();
  const QByteArray body = corpusFile("gsi/std/14/14622/6017.png");  // 8-bit RGB, no palette
  ASSERT_FALSE(body.isEmpty());
  const QImage img = tw::decodeTile(body);
  ASSERT_FALSE(img.isNull());
  EXPECT_EQ(img.size(), QSize(256, 256));
  EXPECT_TRUE(img.colorTable().isEmpty());
  const MapImagePtr print = tw::makeMapImage(body, tw::Tile{}, true);
  ASSERT_NE(print, nullptr);
  EXPECT_EQ(print->image.depth(), 32);
  ASSERT_NE(print->data, nullptr);
  EXPECT_EQ(print->data->size(), tw::kClassMapSize);
}

TEST(TileDecode, SeamlessPhotoJpegIsNormalisedForPrint)
{
  TW_REQUIRE_CORPUS();
  const QByteArray body = corpusFile("gsi/seamlessphoto/14/14622/6017.jpg");
  ASSERT_FALSE(body.isEmpty());
  const QImage img = tw::decodeTile(body);
  ASSERT_FALSE(img.isNull());
  EXPECT_EQ(img.size(), QSize(256, 256));
  EXPECT_TRUE(img.colorTable().isEmpty());
  const MapImagePtr browse = tw::makeMapImage(body, tw::Tile{}, false);
  ASSERT_NE(browse, nullptr);
  EXPECT_EQ(browse->data, nullptr);
  const MapImagePtr print = tw::makeMapImage(body, tw::Tile{}, true);
  ASSERT_NE(print, nullptr);
  EXPECT_EQ(print->image.depth(), 32);
  ASSERT_NE(print->data, nullptr);
}

TEST(TileDecode, BadBodiesDoNotDecode)
{
  EXPECT_TRUE(tw::decodeTile(QByteArray()).isNull());
  EXPECT_TRUE(tw::decodeTile(QByteArray("\x89PNG\r\n\x1a\n truncated")).isNull());
  EXPECT_TRUE(tw::decodeTile(QByteArray(5000, 'x')).isNull());
  EXPECT_EQ(tw::makeMapImage(QByteArray("nope"), tw::Tile{}, false), nullptr);
  const MapImagePtr ph = tw::makePlaceholder(tw::Tile{});
  EXPECT_EQ(ph->image.size(), QSize(256, 256));
  EXPECT_EQ(ph->data, nullptr);
}
