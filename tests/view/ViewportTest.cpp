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

TEST(Viewport, CentreRectsAndRates)
{
  ViewportState v = centred(15, 35.681236, 139.767125);
  EXPECT_EQ(std::tuple(v.center_x, v.center_y), std::tuple(std::trunc(pixelFromLon(15, 139.767125)), std::trunc(pixelFromLat(15, 35.681236))));
  EXPECT_EQ(std::tuple(v.foreRect.x, v.foreRect.width), std::tuple(std::trunc(v.center_x - 400), 800.0));
  EXPECT_EQ(std::tuple(v.backRect.x, v.backRect.width), std::tuple(std::trunc(v.center_x / 256) - v.back_cols / 2, double(v.back_cols)));
  // About 3.9 m per pixel at zoom 15, latitude 35.681; double at the next zoom.
  EXPECT_NEAR(v.x_rate, 100 / (156543.03392 / 32768 * std::cos(35.681236 * kPi / 180)), 0.3);
  EXPECT_NEAR(v.y_rate, v.x_rate, 0.2);
  EXPECT_NEAR(calcRates(16, 35.681236, 139.767125).x_rate, 2 * v.x_rate, 1e-6);

  const ViewportState before = v;
  EXPECT_FALSE(centreOnLatLon(v, 5, 36.0, 140.0) || centreOnLatLon(v, 19, 36.0, 140.0) || centreOnPixel(v, 19, 1, 1));
  EXPECT_EQ(std::tuple(v.zoom, v.center_x), std::tuple(before.zoom, before.center_x));
  ASSERT_TRUE(centreOnPixel(v, 14, 909375, 403125));
  EXPECT_NEAR(pixelFromLon(14, v.lon), 909375, 1e-6);
  EXPECT_NEAR(pixelFromLat(14, v.lat), 403125, 1e-6);
}

TEST(Viewport, GridSizeFollowsTheWindow)
{
  const double cases[][4] = {{700, 500, 5, 4}, {1000, 300, 6, 4}, {768, 100, 5, 3}, {769, 100, 6, 3}};
  for (const auto& c : cases) {
    ViewportState v;
    gridSize(v, {c[0], c[1]});
    EXPECT_EQ(std::tuple(v.back_cols, v.back_rows), std::tuple(int(c[2]), int(c[3]))) << c[0] << "x" << c[1];
  }
}

TEST(Viewport, ZoomAboutPointerKeepsThePlaceUnderIt)
{
  const ViewSize size{800, 600};
  const ViewportState v = centred(15, 35.36, 138.73, size);
  const WindowPoint p{200, 450};
  const DPoint before = windowToGlobal(v, size, p);
  const auto t = zoomAboutPoint(v, size, p, 1);
  ASSERT_TRUE(t);
  EXPECT_EQ(std::tuple(t->zoom, t->scale), std::tuple(16, 2.0f));
  ViewportState after = v;
  ASSERT_TRUE(centreOnLatLon(after, t->zoom, t->lat, t->lon));
  const DPoint under = windowToGlobal(after, size, p);
  EXPECT_NEAR(under.x, pixelFromLon(16, lonFromPixel(15, before.x)), 1.5);
  EXPECT_NEAR(under.y, pixelFromLat(16, latFromPixel(15, before.y)), 1.5);
  EXPECT_FLOAT_EQ(zoomAboutPoint(v, size, p, -2)->scale, 0.25f);
  // Clamped to 6..18; no change, no zoom.
  EXPECT_EQ(zoomAboutPoint(v, size, p, 7)->zoom, 18);
  EXPECT_FALSE(zoomAboutPoint(centred(18, 35, 139, size), size, p, 1) || zoomAboutPoint(centred(6, 35, 139, size), size, p, -3) ||
               zoomAboutPoint(v, size, p, 0));
  // Editing stops below zoom 15, in edit mode only.
  EXPECT_TRUE(leavesEditingZoom(15, 14, Mode::Edit));
  EXPECT_FALSE(leavesEditingZoom(16, 15, Mode::Edit) || leavesEditingZoom(15, 14, Mode::Base) || leavesEditingZoom(14, 13, Mode::Edit));
}

TEST(Viewport, ScaleBarAndAttribution)
{
  const std::pair<int, const char*> labels[] = {{18, "50m"}, {15, "500m"}, {14, "1km"}, {9, "25km"}, {6, "250km"}};
  for (const auto& [zoom, label] : labels) EXPECT_EQ(scaleBar(zoom, 10)->label, label) << zoom;
  EXPECT_EQ(scaleBar(15, 3.3)->length, static_cast<int>(3.3 * 500 / 100));
  EXPECT_FALSE(scaleBar(5, 10) || scaleBar(19, 10));
  // Mode, map kind, zoom → attribution.
  constexpr Mode B = Mode::Base;
  const std::tuple<Mode, MapType, int, const char*> texts[] = {
      {B, MapType::Standard, 18, "国土地理院(2500)"}, {B, MapType::Pale, 17, "国土地理院(25000)"},
      {Mode::Edit, MapType::Standard, 15, "国土地理院(25000)"}, {B, MapType::Standard, 14, "国土地理院(20万)"},
      {B, MapType::Standard, 12, "国土地理院(20万)"},  {B, MapType::Standard, 11, "国土地理院(100万)"},
      {B, MapType::Standard, 9, "国土地理院(100万)"},  {B, MapType::Standard, 8, "国土地理院(500万)"},
      {B, MapType::Photo, 16, "国土地理院"},           {B, MapType::OSM, 16, "OpenStreetMap"},
      {Mode::Print, MapType::OSM, 16, ""}};
  for (const auto& [mode, map, zoom, text] : texts) EXPECT_EQ(attributionText(mode, map, zoom), text) << zoom;
}

TEST(Viewport, PanelsAreKeptInside)
{
  // Frame before → frame after in a 700 × 500 base view (a fractional width counts whole).
  const DRect cases[][2] = {{{500, 10, 400, 100}, {300, 10, 400, 100}}, {{100, 0, 900, 100}, {0, 0, 700, 100}},
                            {{0, 50, 100, 600}, {0, 0, 100, 500}},      {{0, 0, 100, 100}, {0, 0, 100, 100}}};
  for (const auto& [in, out] : cases) {
    DRect g = in;
    EXPECT_EQ(keepInside(g, {700.9, 500}), in.x != out.x || in.y != out.y || in.width != out.width ||
                                               in.height != out.height);
    EXPECT_EQ(std::tie(g.x, g.y, g.width, g.height), std::tie(out.x, out.y, out.width, out.height));
  }
}

TEST(ZoomSlider, TileZoomsAndPrintScale)
{
  ZoomSlider s;
  s.setMinValue(6), s.setMaxValue(18);
  s.updateZoom(15, false);
  EXPECT_EQ(s.pos, 9);
  s.updateZoom(19, false);  // out of range
  s.updateZoom(12, true);   // print mode moves by position only
  EXPECT_EQ(s.zoom, 15);
  // The top row of a 130-point slider at y 20 is row 12: zoom 18.
  EXPECT_EQ(std::tuple(ZoomSlider::rowAt(20 + 125, 20, 130), ZoomSlider::rowAt(20 + 1, 20, 130)), std::tuple(12, 0));

  ZoomSlider p;
  p.setMinValue(0.5), p.setMaxValue(4.0), p.setMidValue(1.25);
  const double positions[][3] = {{6, 6, 1.25}, {0, 0, 0.5}, {12, 12, 4.0}, {13, 12, 4.0}, {-2, 0, 0.5},
                                 {3, 3, 1.25 - 3 * 0.75 / 6}};
  for (const auto& c : positions) {
    p.updatePosition(static_cast<int>(c[0]), true);
    EXPECT_EQ(p.pos, c[1]) << c[0];
    EXPECT_DOUBLE_EQ(p.zoom, c[2]) << c[0];
  }
}
