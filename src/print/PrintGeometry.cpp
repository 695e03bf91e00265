#include "print/PrintGeometry.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "app/ConfigSchema.h"
#include "view/Viewport.h"

namespace tw {

namespace {

constexpr PaperEntry kPapers[] = {{182, 257, "B5"}, {210, 297, "A4"}, {257, 364, "B4"}, {297, 420, "A3"}};

// Whole ground metres for `mm` millimetres of paper; 1:12,500 in integers, truncating.
double groundMetres(int mm, int scale)
{
  switch (scale) {
    case 0: return mm * 10.0;
    case 2: return mm * 15.0;
    case 3: return mm * 25.0;
    default: return static_cast<double>(mm * 125 / 10);
  }
}

// The table entry after orientation and the convenience-store reduction, as whole mm.
void sheetMm(const PaperEntry& e, int direction, bool conveni, int& w, int& h)
{
  w = e.width;
  h = e.height;
  if (direction != 0) std::swap(w, h);
  if (conveni) w -= 10, h -= 10;
}

}  // namespace

std::optional<PaperEntry> paperEntry(int paper)
{
  if (paper < 0 || paper > 3) return std::nullopt;
  return kPapers[paper];
}

PrintSettings printSettingsFrom(const Config& c)
{
  PrintSettings s;
  s.paper = c.intValue(key::paper);
  s.direction = c.intValue(key::direction);
  s.scale = c.intValue(key::scale);
  s.quality = c.intValue(key::quality);
  s.color = c.intValue(key::color);
  s.conveni = c.isOn(key::conveni);
  s.top = c.floatValue(key::top_margin);
  s.bottom = c.floatValue(key::bottom_margin);
  s.left = c.floatValue(key::left_margin);
  s.right = c.floatValue(key::right_margin);
  return s;
}

SizeD calcPrintSize(int paper, int direction, int scale, bool conveni, float top, float bottom, float left, float right)
{
  const auto e = paperEntry(paper);
  if (!e) return {};
  int w = 0, h = 0;
  sheetMm(*e, direction, conveni, w, h);
  if (conveni) top = bottom = left = right = 0;
  const int pw = static_cast<int>(static_cast<float>(w) - left - right);
  const int ph = static_cast<int>(static_cast<float>(h) - top - bottom);
  return {groundMetres(pw, scale), groundMetres(ph, scale)};
}

std::optional<PaperGeometry> paperGeometry(const PrintSettings& s)
{
  const auto e = paperEntry(s.paper);
  if (!e) return std::nullopt;
  int w = 0, h = 0;
  sheetMm(*e, s.direction, false, w, h);
  float wpt = static_cast<float>(w * kPointsPerMm), hpt = static_cast<float>(h * kPointsPerMm);
  PaperGeometry g;
  g.left = s.left, g.right = s.right, g.top = s.top, g.bottom = s.bottom;
  if (s.conveni) {
    w -= 10, h -= 10;
    wpt -= 28.346457f, hpt -= 28.346457f;
    g.left = g.right = g.top = g.bottom = 0;
  }
  const float fw = static_cast<float>(w), fh = static_cast<float>(h);
  g.paperSize = {fw, fh};
  g.paperPointRect = {0, 0, wpt, hpt};
  g.paperDistance = {groundMetres(w, s.scale), groundMetres(h, s.scale)};
  g.printPointRect = {g.left / fw * wpt, g.bottom / fh * hpt, (fw - g.left - g.right) / fw * wpt,
                      (fh - g.top - g.bottom) / fh * hpt};
  g.printDistance = {groundMetres(static_cast<int>(fw - g.left - g.right), s.scale),
                     groundMetres(static_cast<int>(fh - g.top - g.bottom), s.scale)};
  return g;
}

DRect defaultGraphRect(const DRect& graphRect, const DRect& printPointRect)
{
  const double pw = printPointRect.width, ph = printPointRect.height;
  if (graphRect.width != 0 && graphRect.x + graphRect.width <= pw && graphRect.y + graphRect.height <= ph)
    return graphRect;
  const double w = std::trunc(0.8 * pw);
  return {std::trunc((pw - w) / 2), 0, w, 200};
}

PrintPixelRects calcPrintRect(LatLon c, const PaperGeometry& g, bool normal)
{
  const Rates r = calcRates(kPrintZoom, c.lat, c.lon);
  const double cx = pixelFromLon(kPrintZoom, c.lon), cy = pixelFromLat(kPrintZoom, c.lat);
  auto around = [&](SizeD metres) {
    const double w = metres.width * r.x_rate / 100, h = metres.height * r.y_rate / 100;
    return DRect{cx - w / 2, cy - h / 2, w, h};
  };
  PrintPixelRects p{around(g.paperDistance), around(g.printDistance), r.x_rate, r.y_rate};
  if (normal) {
    for (DRect* d : {&p.paperPixelRect, &p.printPixelRect}) *d = {d->x / 2, d->y / 2, d->width / 2, d->height / 2};
    p.x_rate /= 2;
    p.y_rate /= 2;
  }
  return p;
}

PrintDispRects calcPrintDispRect(const DRect& pr, const DRect& fore, double zx, double zy, const PaperGeometry& g)
{
  auto f = [](double v) { return static_cast<double>(static_cast<float>(v)); };
  PrintDispRects d;
  d.paperDispRect = {f((pr.x - fore.x) * zx), f((fore.y + fore.height - pr.y - pr.height) * zy), f(pr.width * zx),
                     f(pr.height * zy)};
  const DRect& p = d.paperDispRect;
  const double w = g.paperSize.width, h = g.paperSize.height;
  d.printDispRect = {p.x + g.left / w * p.width, p.y + g.bottom / h * p.height, p.width * (1 - (g.left + g.right) / w),
                     p.height * (1 - (g.top + g.bottom) / h)};
  return d;
}

DPoint pixelToPoint(double gx, double gy, const DRect& px, const DRect& pt)
{
  const float cx = static_cast<float>(pt.width / px.width), cy = static_cast<float>(pt.height / px.height);
  return {static_cast<float>((gx - px.x) * cx + pt.x), static_cast<float>(pt.y + pt.height - (gy - px.y) * cy)};
}

DRect resizeGraph(const DRect& g, int handle, double dx, double dy, const DRect& area)
{
  DRect r = g;
  const double right = g.x + g.width, top = g.y + g.height;
  switch (handle) {
    case 1:
      r.x += dx, r.width -= dx;
      if (r.width < kMinGraphWidth) r.width = kMinGraphWidth, r.x = right - kMinGraphWidth;
      if (r.x < 0) r.x = 0, r.width = right;
      break;
    case 2: r.width = std::min(std::max(r.width + dx, kMinGraphWidth), area.width - r.x); break;
    case 3: r.height = std::min(std::max(r.height + dy, kMinGraphHeight), area.height - r.y); break;
    case 4:
      r.y += dy, r.height -= dy;
      if (r.height < kMinGraphHeight) r.height = kMinGraphHeight, r.y = top - kMinGraphHeight;
      if (r.y < 0) r.y = 0, r.height = top;
      break;
    default: break;
  }
  return r;
}

DRect moveGraph(const DRect& g, double dx, double dy, const DRect& area)
{
  if (std::abs(dx) < 1 && std::abs(dy) < 1) return g;
  DRect r = g;
  r.x = std::max(0.0, std::min(g.x + dx, area.width - g.width));
  r.y = std::max(0.0, std::min(g.y + dy, area.height - g.height));
  return r;
}

int graphHandleAt(const DRect& s, DPoint p, double zx)
{
  const double side = std::trunc(std::clamp(16 * zx, 6.0, 16.0));
  auto hit = [&](double cx, double cy) {
    return p.x >= cx - side / 2 && p.x < cx + side / 2 && p.y >= cy - side / 2 && p.y < cy + side / 2;
  };
  const double mx = s.x + s.width / 2, my = s.y + s.height / 2;
  if (hit(mx, s.y)) return 4;
  if (hit(mx, s.y + s.height)) return 3;
  if (hit(s.x, my)) return 1;
  if (hit(s.x + s.width, my)) return 2;
  return 0;
}

int scaleBarMetres(int scale)
{
  switch (scale) {
    case 0: return 200;
    case 1: return 250;
    case 2: return 300;
    default: return 500;
  }
}

int northSpacingMetres(int north)
{
  switch (north) {
    case 1: return 250;
    case 2: return 500;
    case 3: return 1000;
    default: return 0;
  }
}

int latlonStepSeconds(int latlon)
{
  switch (latlon) {
    case 1: return 15;
    case 2: return 30;
    case 3: return 60;
    default: return 0;
  }
}

std::string dmsLabel(int seconds)
{
  char buf[48];
  std::snprintf(buf, sizeof buf, "%d\u00b0%02d'%02d\"", seconds / 3600, seconds / 60 % 60, seconds % 60);
  return buf;
}

LatLon checkAreaCentre(LatLon c)
{
  if (c.lat < 20.42527777 || c.lat > 45.55777777 || c.lon < 122.93361111 || c.lon > 153.98638888)
    return {35.855499, 138.943905};
  return c;
}

}  // namespace tw
