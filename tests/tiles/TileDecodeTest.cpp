// Decoding real tiles for browsing and print, and bodies that are not images.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QFile>
#include <algorithm>

#include "support/TestPaths.h"
#include "tiles/TileDecode.h"

TEST(TileDecode, CorpusTilesForBrowsingAndPrint)
{
  TW_REQUIRE_CORPUS();
  // An OpenStreetMap palette PNG, a GSI truecolour PNG and a GSI photo JPEG.
  for (const auto& [file, palette] : {std::pair{"osm/7/40/44.png", true}, std::pair{"gsi/std/14/14622/6017.png", false},
                                      std::pair{"gsi/seamlessphoto/14/14622/6017.jpg", false}}) {
    QFile f(QString::fromStdString(twtest::corpusDir() + "/" + file));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << file;
    const QByteArray body = f.readAll();
    const MapImagePtr browse = tw::makeMapImage(body, tw::Tile{}, false);
    ASSERT_NE(browse, nullptr) << file;
    EXPECT_TRUE(browse->image.size() == QSize(256, 256) && !browse->data) << file;
    EXPECT_EQ(browse->image.format() == QImage::Format_Indexed8, palette) << file;
    const MapImagePtr print = tw::makeMapImage(body, tw::Tile{}, true);
    ASSERT_TRUE(print->data && print->data->size() == tw::kClassMapSize) << file;
    // The palette path keeps pixels and table; other tiles are normalised to 32 bits.
    if (palette)
      EXPECT_EQ(print->image.colorTable(), browse->image.colorTable());
    else  // and their roads and buildings are classed
      EXPECT_TRUE(print->image.depth() == 32 && std::any_of(print->data->begin(), print->data->end(), [](uint8_t c) { return c; }))
          << file;
  }
}

TEST(TileDecode, BadBodiesDoNotDecode)
{
  for (const QByteArray& body : {QByteArray(), QByteArray("\x89PNG\r\n\x1a\n truncated"), QByteArray(5000, 'x')})
    EXPECT_EQ(tw::makeMapImage(body, tw::Tile{}, true), nullptr);
  const MapImagePtr ph = tw::makePlaceholder(tw::Tile{});
  EXPECT_TRUE(ph->image.size() == QSize(256, 256) && !ph->data);
}
