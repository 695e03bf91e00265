#include "view/Viewport.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace tw {

bool centreOnLatLon(ViewportState& v, int zoom, double lat, double lon)
{
  if (!isValidZoom(zoom)) return false;
  v.zoom = zoom;
  v.lat = lat;
  v.lon = lon;
  v.center_x = std::trunc(pixelFromLon(zoom, lon));
  v.center_y = std::trunc(pixelFromLat(zoom, lat));
  return true;
}

bool centreOnPixel(ViewportState& v, int zoom, int32_t x, int32_t y)
{
  if (!isValidZoom(zoom)) return false;
  v.zoom = zoom;
  v.lat = latFromPixel(zoom, y);
  v.lon = lonFromPixel(zoom, x);
  v.center_x = x;
  v.center_y = y;
  return true;
}

Rates calcRates(int zoom, double lat, double lon)
{
  Rates r;
  const double dx = calcDistHubeny(lat, lon - 0.01, lat, lon + 0.01);
  const double dy = calcDistHubeny(lat - 0.01, lon, lat + 0.01, lon);
  // Zero distances only arise from non-finite input; keep the rates finite.
  if (dx > 0) r.x_rate = (pixelFromLon(zoom, lon + 0.01) - pixelFromLon(zoom, lon - 0.01)) * 100.0 / dx;
  if (dy > 0) r.y_rate = (pixelFromLat(zoom, lat - 0.01) - pixelFromLat(zoom, lat + 0.01)) * 100.0 / dy;
  return r;
}

void updateScreenRects(ViewportState& v, ViewSize size)
{
  const Rates r = calcRates(v.zoom, v.lat, v.lon);
  v.x_rate = r.x_rate;
  v.y_rate = r.y_rate;
  v.foreRect = {std::trunc(v.center_x - size.width / 2), std::trunc(v.center_y - size.height / 2), size.width,
                size.height};
  v.backRect = {std::trunc(v.center_x / 256) - v.back_cols / 2, std::trunc(v.center_y / 256) - v.back_rows / 2,
                static_cast<double>(v.back_cols), static_cast<double>(v.back_rows)};
}

void gridSize(ViewportState& v, ViewSize size)
{
  v.back_cols = std::max(3, static_cast<int32_t>(std::ceil(size.width / 256))) + 2;
  v.back_rows = std::max(1, static_cast<int32_t>(std::ceil(size.height / 256))) + 2;
}

DPoint windowToGlobal(const ViewportState& v, ViewSize size, WindowPoint p)
{
  return {v.center_x - (size.width / 2 - p.x), v.center_y + (size.height / 2 - p.y)};
}

std::optional<ZoomTarget> zoomAboutPoint(const ViewportState& v, ViewSize size, WindowPoint p, int delta)
{
  const int n = std::clamp(v.zoom + delta, kMinZoom, kMaxZoom);
  if (n == v.zoom) return std::nullopt;
  const double cx = size.width / 2, cy = size.height / 2;
  const double tx = std::trunc(p.x), ty = std::trunc(p.y);
  const double mx = v.center_x - (cx - tx);
  const double my = v.center_y + (cy - ty);
  const double lon = lonFromPixel(v.zoom, mx);
  const double lat = latFromPixel(v.zoom, my);
  float s = static_cast<float>(std::ldexp(1.0, std::abs(n - v.zoom)));
  if (n < v.zoom) s = 1.0f / s;
  const double nx = pixelFromLon(n, lon) - tx + cx;
  const double ny = pixelFromLat(n, lat) + ty - cy;
  return ZoomTarget{n, latFromPixel(n, ny), lonFromPixel(n, nx), s};
}

bool leavesEditingZoom(int from, int to, Mode mode)
{
  return from >= kMinEditZoom && to < kMinEditZoom && mode == Mode::Edit;
}

std::optional<ScaleBar> scaleBar(int zoom, double x_rate)
{
  if (!isValidZoom(zoom)) return std::nullopt;
  ScaleBar s;
  s.metres = scale_list[kMaxZoom - zoom];
  s.length = static_cast<int32_t>(x_rate * s.metres / 100);
  char buf[32];
  if (zoom <= 14)
    std::snprintf(buf, sizeof buf, "%dkm", s.metres / 1000);
  else
    std::snprintf(buf, sizeof buf, "%dm", s.metres);
  s.label = buf;
  return s;
}

std::string attributionText(Mode mode, MapType map_type, int zoom)
{
  if (mode == Mode::Print) return {};
  if (map_type == MapType::OSM) return "OpenStreetMap";
  if (map_type == MapType::Photo) return "国土地理院";
  if (zoom >= 18) return "国土地理院(2500)";
  if (zoom >= 15) return "国土地理院(25000)";
  if (zoom >= 12) return "国土地理院(20万)";
  if (zoom >= 9) return "国土地理院(100万)";
  return "国土地理院(500万)";
}

WindowPoint buttonOrigin(ViewSize base, double w, double h, int i) { return {base.width - w, base.height - (i + 1) * h}; }

bool keepInside(DRect& g, ViewSize base)
{
  bool changed = false;
  const double wi = std::trunc(base.width), hi = std::trunc(base.height);
  if (g.x + g.width > wi) {
    if (g.x > 0) g.x = wi - g.width;
    if (g.x <= 0) {
      g.x = 0;
      g.width = wi;
    }
    changed = true;
  }
  if (g.y + g.height > hi) {
    if (g.y > 0) g.y = hi - g.height;
    if (g.y <= 0) {
      g.y = 0;
      g.height = hi;
    }
    changed = true;
  }
  return changed;
}

int zoomToFit(IPoint lo, IPoint hi, ViewSize size)
{
  for (int z = kMaxZoom; z > kMinZoom; --z) {
    const int s = kMaxZoom - z;
    const double w = (hi.x >> s) - (lo.x >> s) + 1, h = (hi.y >> s) - (lo.y >> s) + 1;
    if (w <= size.width && h <= size.height) return z;
  }
  return kMinZoom;
}

}  // namespace tw
