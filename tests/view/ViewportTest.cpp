#include <gtest/gtest.h>

#include <cmath>

#include "document/Geodesy.h"
#include "view/Viewport.h"
#include "view/ZoomSlider.h"

using namespace tw;

namespace {
ViewportState centred(int zoom, double lat, double lon, ViewSize size = {800, 600})
{
  ViewportState v;
  gridSize(v, size);
  EXPECT_TRUE(centreOnLatLon(v, zoom, lat, lon));
  updateScreenRects(v, size);
  return v;
}
}  // namespace

TEST(Viewport, CentreIsIntegralAndRepeatable)
{
  const ViewportState a = centred(15, 35.681236, 139.767125);
  const ViewportState b = centred(15, 35.681236, 139.767125);
  EXPECT_EQ(a.center_x, std::trunc(a.center_x));
  EXPECT_EQ(a.center_y, std::trunc(a.center_y));
  EXPECT_EQ(a.center_x, std::trunc(pixelFromLon(15, 139.767125)));
  EXPECT_EQ(a.foreRect.x, b.foreRect.x);
  EXPECT_EQ(a.foreRect.y, b.foreRect.y);
  EXPECT_EQ(a.foreRect.x, std::trunc(a.center_x - 400));
  EXPECT_EQ(a.foreRect.width, 800);
  EXPECT_EQ(a.backRect.x, std::trunc(a.center_x / 256) - a.back_cols / 2);
  EXPECT_EQ(a.backRect.width, a.back_cols);
}

TEST(Viewport, BadZoomLeavesStateAlone)
{
  ViewportState v = centred(12, 35.0, 139.0);
  const ViewportState before = v;
  EXPECT_FALSE(centreOnLatLon(v, 5, 36.0, 140.0));
  EXPECT_FALSE(centreOnLatLon(v, 19, 36.0, 140.0));
  EXPECT_FALSE(centreOnPixel(v, 19, 1, 1));
  EXPECT_EQ(v.zoom, before.zoom);
  EXPECT_EQ(v.lat, before.lat);
  EXPECT_EQ(v.center_x, before.center_x);
}

TEST(Viewport, PixelCentreDerivesLatLon)
{
  ViewportState v;
  ASSERT_TRUE(centreOnPixel(v, 14, 14550000 >> 4, 6450000 >> 4));
  EXPECT_NEAR(pixelFromLon(14, v.lon), v.center_x, 1e-6);
  EXPECT_NEAR(pixelFromLat(14, v.lat), v.center_y, 1e-6);
  // An arrow step north moves the centre pixel up by 128.
  const double y = v.center_y;
  ASSERT_TRUE(centreOnPixel(v, v.zoom, static_cast<int32_t>(v.center_x), static_cast<int32_t>(y - kArrowStep)));
  EXPECT_EQ(v.center_y, y - 128);
}

TEST(Viewport, RatesArePixelsPerHundredMetres)
{
  const Rates r = calcRates(15, 35.0, 139.0);
  // About 3.9 m per pixel at zoom 15, latitude 35.
  EXPECT_NEAR(r.x_rate, 100 / (156543.03392 / 32768 * std::cos(35.0 * kPi / 180)), 0.3);
  EXPECT_NEAR(r.y_rate, r.x_rate, 0.2);
  EXPECT_NEAR(calcRates(16, 35.0, 139.0).x_rate, 2 * r.x_rate, 1e-6);
}

TEST(Viewport, GridSizeFollowsTheWindow)
{
  ViewportState v;
  gridSize(v, {700, 500});
  EXPECT_EQ(v.back_cols, 5);
  EXPECT_EQ(v.back_rows, 4);
  gridSize(v, {1000, 300});
  EXPECT_EQ(v.back_cols, 6);
  EXPECT_EQ(v.back_rows, 4);
  gridSize(v, {768, 100});
  EXPECT_EQ(v.back_cols, 5);
  EXPECT_EQ(v.back_rows, 3);
  gridSize(v, {769, 100});
  EXPECT_EQ(v.back_cols, 6);
}

TEST(Viewport, ZoomAboutPointerKeepsThePlaceUnderIt)
{
  const ViewSize size{800, 600};
  const ViewportState v = centred(15, 35.36, 138.73, size);
  const WindowPoint p{200, 450};
  const DPoint before = windowToGlobal(v, size, p);
  const double lat = latFromPixel(15, before.y), lon = lonFromPixel(15, before.x);

  const auto t = zoomAboutPoint(v, size, p, 1);
  ASSERT_TRUE(t);
  EXPECT_EQ(t->zoom, 16);
  EXPECT_FLOAT_EQ(t->scale, 2.0f);
  ViewportState after = v;
  ASSERT_TRUE(centreOnLatLon(after, t->zoom, t->lat, t->lon));
  const DPoint under = windowToGlobal(after, size, p);
  EXPECT_NEAR(under.x, pixelFromLon(16, lon), 1.5);
  EXPECT_NEAR(under.y, pixelFromLat(16, lat), 1.5);

  const auto out = zoomAboutPoint(v, size, p, -2);
  ASSERT_TRUE(out);
  EXPECT_EQ(out->zoom, 13);
  EXPECT_FLOAT_EQ(out->scale, 0.25f);
}

TEST(Viewport, ZoomAboutPointerClampsAndIgnoresNoChange)
{
  const ViewSize size{800, 600};
  EXPECT_EQ(zoomAboutPoint(centred(15, 35, 139, size), size, {10, 10}, 7)->zoom, 18);
  EXPECT_FALSE(zoomAboutPoint(centred(18, 35, 139, size), size, {10, 10}, 1));
  EXPECT_FALSE(zoomAboutPoint(centred(6, 35, 139, size), size, {10, 10}, -3));
  EXPECT_FALSE(zoomAboutPoint(centred(10, 35, 139, size), size, {10, 10}, 0));
}

TEST(Viewport, LeavingTheEditingZoom)
{
  EXPECT_TRUE(leavesEditingZoom(15, 14, Mode::Edit));
  EXPECT_TRUE(leavesEditingZoom(18, 6, Mode::Edit));
  EXPECT_FALSE(leavesEditingZoom(16, 15, Mode::Edit));
  EXPECT_FALSE(leavesEditingZoom(15, 14, Mode::Base));
  EXPECT_FALSE(leavesEditingZoom(14, 13, Mode::Edit));
}

TEST(ScaleBar, LabelsAndLengths)
{
  EXPECT_EQ(scaleBar(14, 10)->label, "1km");
  EXPECT_EQ(scaleBar(15, 10)->label, "500m");
  EXPECT_EQ(scaleBar(9, 10)->label, "25km");
  EXPECT_EQ(scaleBar(18, 10)->label, "50m");
  EXPECT_EQ(scaleBar(6, 10)->label, "250km");
  // 500 m at zoom 15 whatever the latitude; only the length in points changes.
  const double south = calcRates(15, 26.2, 127.7).x_rate, north = calcRates(15, 43.0, 141.3).x_rate;
  EXPECT_EQ(scaleBar(15, south)->metres, 500);
  EXPECT_EQ(scaleBar(15, south)->length, static_cast<int>(south * 500 / 100));
  EXPECT_GT(scaleBar(15, north)->length, scaleBar(15, south)->length);
  EXPECT_FALSE(scaleBar(5, 10));
  EXPECT_FALSE(scaleBar(19, 10));
}

TEST(Attribution, ByZoomAndMapKind)
{
  EXPECT_EQ(attributionText(Mode::Base, MapType::Standard, 18), "国土地理院(2500)");
  EXPECT_EQ(attributionText(Mode::Base, MapType::Pale, 17), "国土地理院(25000)");
  EXPECT_EQ(attributionText(Mode::Edit, MapType::Standard, 15), "国土地理院(25000)");
  EXPECT_EQ(attributionText(Mode::Base, MapType::Standard, 14), "国土地理院(20万)");
  EXPECT_EQ(attributionText(Mode::Base, MapType::Standard, 12), "国土地理院(20万)");
  EXPECT_EQ(attributionText(Mode::Base, MapType::Standard, 11), "国土地理院(100万)");
  EXPECT_EQ(attributionText(Mode::Base, MapType::Standard, 9), "国土地理院(100万)");
  EXPECT_EQ(attributionText(Mode::Base, MapType::Standard, 8), "国土地理院(500万)");
  EXPECT_EQ(attributionText(Mode::Base, MapType::Standard, 6), "国土地理院(500万)");
  EXPECT_EQ(attributionText(Mode::Base, MapType::Photo, 16), "国土地理院");
  EXPECT_EQ(attributionText(Mode::Base, MapType::OSM, 16), "OpenStreetMap");
  EXPECT_EQ(attributionText(Mode::Print, MapType::OSM, 16), "");
}

TEST(Layout, ButtonsStackDownTheRightEdge)
{
  const WindowPoint p0 = buttonOrigin({1000, 700}, 60, 30, 0);
  const WindowPoint p3 = buttonOrigin({1000, 700}, 60, 30, 3);
  EXPECT_EQ(p0.x, 940);
  EXPECT_EQ(p0.y, 670);
  EXPECT_EQ(p3.y, 580);
}

TEST(Layout, PanelKeptInsideTheBaseView)
{
  DRect g{500, 10, 400, 100};
  EXPECT_TRUE(keepInside(g, {700.9, 500}));
  EXPECT_EQ(g.x, 300);
  EXPECT_EQ(g.width, 400);
  DRect wide{100, 0, 900, 100};
  EXPECT_TRUE(keepInside(wide, {700, 500}));
  EXPECT_EQ(wide.x, 0);
  EXPECT_EQ(wide.width, 700);
  DRect tall{0, 50, 100, 600};
  EXPECT_TRUE(keepInside(tall, {700, 500}));
  EXPECT_EQ(tall.y, 0);
  EXPECT_EQ(tall.height, 500);
  DRect fits{0, 0, 100, 100};
  EXPECT_FALSE(keepInside(fits, {700, 500}));
}

TEST(ZoomSlider, TileZoomRange)
{
  ZoomSlider s;
  s.setMinValue(6);
  s.setMaxValue(18);
  EXPECT_DOUBLE_EQ(s.step, 1.0);
  s.updateZoom(15, false);
  EXPECT_EQ(s.pos, 9);
  s.updateZoom(19, false);
  EXPECT_EQ(s.zoom, 15);
  s.updateZoom(12, true);  // print mode moves by position only
  EXPECT_EQ(s.zoom, 15);
  s.updatePosition(3, false);
  EXPECT_EQ(s.pos, 9);
  // The top row of a 130-point slider at y 20 is row 12: zoom 18.
  EXPECT_EQ(ZoomSlider::rowAt(20 + 125, 20, 130) + 6, 18);
  EXPECT_EQ(ZoomSlider::rowAt(20 + 1, 20, 130) + 6, 6);
}

TEST(ZoomSlider, PrintScalePositions)
{
  ZoomSlider s;
  s.setMinValue(0.5);
  s.setMaxValue(4.0);
  s.setMidValue(1.25);
  s.updatePosition(6, true);
  EXPECT_DOUBLE_EQ(s.zoom, 1.25);
  s.updatePosition(0, true);
  EXPECT_DOUBLE_EQ(s.zoom, 0.5);
  s.updatePosition(12, true);
  EXPECT_DOUBLE_EQ(s.zoom, 4.0);
  s.updatePosition(13, true);  // a step past the top stays at the top
  EXPECT_EQ(s.pos, 12);
  s.updatePosition(-2, true);
  EXPECT_EQ(s.pos, 0);
  s.updatePosition(3, true);
  EXPECT_DOUBLE_EQ(s.zoom, 1.25 - 3 * 0.75 / 6);
}

TEST(ZoomSlider, BandColours)
{
  EXPECT_DOUBLE_EQ(ZoomSlider::rowColor(0, false).b, 0.8);
  EXPECT_DOUBLE_EQ(ZoomSlider::rowColor(3, false).a, 0.4);
  EXPECT_DOUBLE_EQ(ZoomSlider::rowColor(4, false).b, 0.8);
  EXPECT_DOUBLE_EQ(ZoomSlider::rowColor(12, false).r, 0.8);
  EXPECT_DOUBLE_EQ(ZoomSlider::rowColor(12, false).g, 0.0);
  EXPECT_NEAR(ZoomSlider::rowColor(5, true).g, 0.25, 1e-12);
  EXPECT_NEAR(ZoomSlider::rowColor(7, true).b, 0.1, 1e-12);
  EXPECT_NEAR(ZoomSlider::rowColor(12, true).b, 0.85, 1e-12);
}
