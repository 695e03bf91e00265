#include "print/PrintDraw.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QPageSize>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>
#include <cmath>

#include "tiles/enhance/TileEnhanceQt.h"
#include "view/RoutePlan.h"

namespace tw {

namespace {

RGBA rgbaOf(const Config& c, std::string_view r, std::string_view g, std::string_view b, std::string_view a)
{
  return {c.doubleValue(r), c.doubleValue(g), c.doubleValue(b), c.doubleValue(a)};
}

// Paper points (y up) to the painter's frame (y down from the sheet's top).
struct Flip {
  double H;
  QPointF pt(double x, double y) const { return {x, H - y}; }
  QRectF rect(double x, double y, double w, double h) const { return {x, H - y - h, w, h}; }
  QRectF rect(const DRect& r) const { return rect(r.x, r.y, r.width, r.height); }
};

bool intersects(const DRect& a, const DRect& b) { return a.intersects(b); }

// The graph rectangle in print-area pixels, clamped to the area.
DRect graphPixelRect(const PrintSheet& s)
{
  const DRect& px = s.printPixelRect;
  const DRect& pt = s.geo.printPointRect;
  const double fx = px.width / pt.width, fy = px.height / pt.height;
  DRect g{s.graphRect.x * fx, s.graphRect.y * fy, s.graphRect.width * fx, s.graphRect.height * fy};
  g.x = std::max(g.x, 0.0), g.y = std::max(g.y, 0.0);
  g.width = std::min(g.width, px.width), g.height = std::min(g.height, px.height);
  return g;
}

// Tile (tx, ty) inside the print area's pixels, y up from the area's bottom.
DRect tileRect(const PrintSheet& s, const Tile& k)
{
  const DRect& px = s.printPixelRect;
  return {std::trunc(k.x * 256.0 - px.x), std::trunc(px.height - ((k.y + 1) * 256.0 - px.y)), 256, 256};
}

void drawTiles(QPainter& p, const PrintSheet& s, const std::vector<MapImagePtr>& tiles, bool onlyNew)
{
  p.setRenderHint(QPainter::SmoothPixmapTransform, true);
  p.setRenderHint(QPainter::Antialiasing, false);
  const DRect graph = s.print_graph ? graphPixelRect(s) : DRect{};
  const double h = s.printPixelRect.height;
  for (const MapImagePtr& t : tiles) {
    if (!t || (onlyNew && t->draw)) continue;
    const DRect r = tileRect(s, t->tile);
    const bool underGraph = s.print_graph && r.x >= graph.x && r.y >= graph.y && r.x + r.width <= graph.x + graph.width &&
                            r.y + r.height <= graph.y + graph.height;
    if (!underGraph) {
      const QImage img = enhanceTile(t->image, t->data.get(), s.enhance);
      if (!img.isNull()) p.drawImage(QRectF(r.x, h - r.y - r.height, r.width, r.height), img);
    }
    // Only the off-screen image tracks what it holds: a PDF composed meanwhile must not keep a
    // tile out of the preview.
    if (onlyNew) t->draw = true;
  }
}

}  // namespace

std::optional<PrintSheet> makePrintSheet(const Config& c, LatLon centre)
{
  PrintSheet s;
  s.settings = printSettingsFrom(c);
  const auto g = paperGeometry(s.settings);
  if (!g) return std::nullopt;
  s.geo = *g;
  s.printPos = centre;
  s.normal = s.settings.quality == 0;
  s.gray = s.settings.color != 0;
  s.zoom = s.normal ? kPrintZoom - 1 : kPrintZoom;
  s.printPixelRect = calcPrintRect(centre, s.geo, s.normal).printPixelRect;
  s.graphRect = defaultGraphRect({}, s.geo.printPointRect);
  s.north = c.intValue(key::north);
  s.latlon = c.intValue(key::latlon);
  s.latlon_size = c.intValue(key::latlon_size);
  s.northColor = rgbaOf(c, key::north_r, key::north_g, key::north_b, key::north_a);
  s.latlonColor = rgbaOf(c, key::latlon_r, key::latlon_g, key::latlon_b, key::latlon_a);
  s.routeColor = rgbaOf(c, key::route_r, key::route_g, key::route_b, key::route_a);
  s.downColor = rgbaOf(c, key::down_r, key::down_g, key::down_b, key::down_a);
  s.wpColor = rgbaOf(c, key::wp_font_r, key::wp_font_g, key::wp_font_b, key::wp_font_a);
  s.route_width = c.intValue(key::route_width);
  s.down_width = c.intValue(key::down_width);
  s.show_peak = c.isOn(key::show_peak);
  s.show_wp = c.isOn(key::show_waypoint);
  s.wp_type = c.intValue(key::waypoint_type);
  s.wp_font_name = QString::fromStdString(c.stringValue(key::wp_font_name));
  s.wp_font_size = c.doubleValue(key::wp_font_size);
  s.enhance.contour_color = contourColor(c.isOn(key::contour), c.doubleValue(key::contour_r),
                                         c.doubleValue(key::contour_g), c.doubleValue(key::contour_b));
  s.enhance.road_depth = c.intValue(key::road_depth);
  s.enhance.road_color = roadColor(s.enhance.road_depth);
  s.enhance.strong_road = c.isOn(key::strong_road);
  s.enhance.road = c.isOn(key::road);
  s.enhance.river = c.isOn(key::river);
  s.enhance.building = c.isOn(key::building);
  s.enhance.gray = s.gray;
  return s;
}

std::vector<Tile> printTiles(const PrintSheet& s)
{
  const DRect& r = s.printPixelRect;
  const int x0 = static_cast<int>(r.x / 256), y0 = static_cast<int>(r.y / 256);
  const int x1 = static_cast<int>((r.x + r.width) / 256), y1 = static_cast<int>((r.y + r.height) / 256);
  std::vector<Tile> out;
  for (int y = y0; y <= y1; ++y)
    for (int x = x0; x <= x1; ++x) out.push_back(Tile{x, y, s.zoom, kTileMap, 0.0f, MapType::Standard});
  return out;
}

QFont printFont(const QString& name, double pointSize)
{
  QString family = name;
  if (name == "Helvetica") family = "Liberation Sans";
  else if (name.isEmpty() || name.startsWith("HiraMaru") || name.startsWith("HiraKaku")) family = "IPAPGothic";
  QFont f(family);
  f.setFamilies({family, "IPAPGothic"});
  f.setPointSizeF(pointSize > 0 ? pointSize : 12);
  f.setStyleStrategy(QFont::PreferOutline);
  return f;
}

QColor printColor(const RGBA& c, bool gray)
{
  auto clamp = [](double v) { return std::clamp(v, 0.0, 1.0); };
  if (!gray) return QColor::fromRgbF(clamp(c.r), clamp(c.g), clamp(c.b), clamp(c.a));
  const double g = (77 * clamp(c.r) + 150 * clamp(c.g) + 29 * clamp(c.b)) / 256;
  return QColor::fromRgbF(g, g, g, clamp(c.a));
}

QImage makeOffscreen(const PrintSheet& s)
{
  QImage img(static_cast<int>(s.printPixelRect.width), static_cast<int>(s.printPixelRect.height),
             s.gray ? QImage::Format_Grayscale8 : QImage::Format_RGB32);
  img.fill(Qt::white);
  return img;
}

void drawOffscreen(QImage& surface, const PrintSheet& s, const std::vector<MapImagePtr>& tiles)
{
  QPainter p(&surface);
  drawTiles(p, s, tiles, true);
}

void drawNorthPDF(QPainter& p, const PrintSheet& s)
{
  const int metres = northSpacingMetres(s.north);
  if (metres == 0) return;
  const Flip f{s.geo.paperPointRect.height};
  const DRect& a = s.geo.printPointRect;
  const double sp = calcPoint(metres, s.settings.scale);
  const double t = std::tan(calcMagneticNorth(s.printPos.lat, s.printPos.lon) * kPi / 180);
  p.save();
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setPen(QPen(printColor(s.northColor, s.gray), 0.4));
  for (double x = a.x - sp / 2; x < 2 * (a.x + a.width); x += sp) {
    const double top = x - a.height * t;
    if (top > a.x + a.width) break;
    p.drawLine(f.pt(x, a.y), f.pt(top, a.y + a.height));
  }
  p.restore();
}

void drawLatLonPDF(QPainter& p, const PrintSheet& s)
{
  const int step = latlonStepSeconds(s.latlon);
  if (step == 0) return;
  const Flip f{s.geo.paperPointRect.height};
  const DRect& a = s.geo.printPointRect;
  const DRect& px = s.printPixelRect;
  const double west = lonFromPixel(s.zoom, px.x) * 3600, east = lonFromPixel(s.zoom, px.x + px.width) * 3600;
  const double south = latFromPixel(s.zoom, px.y + px.height) * 3600, north = latFromPixel(s.zoom, px.y) * 3600;
  const int fontSize = s.latlon_size + 6;
  const QFont font = printFont("Helvetica", fontSize);
  const QFontMetricsF fm(font, p.device());
  const QColor bg = printColor({1, 1, 1, 0.5}, s.gray);
  p.save();
  p.setFont(font);
  const QPen line(printColor(s.latlonColor, s.gray), 0.4);
  auto label = [&](int v, double x, double y, bool fromRight, bool fromTop) {
    const QString text = QString::fromStdString(dmsLabel(v));
    const double w = fm.horizontalAdvance(text), h = std::floor(fm.height()) - fontSize / 5;
    const double lx = fromRight ? x - w : x, ly = fromTop ? y - h : y;
    const QRectF r = f.rect(lx, ly, w, h);
    p.fillRect(r, bg);
    p.setPen(Qt::black);
    p.drawText(r.toAlignedRect(), Qt::AlignLeft | Qt::AlignBottom, text);
  };
  auto pointOf = [&](double lat, double lon) {
    return pixelToPoint(pixelFromLon(s.zoom, lon), pixelFromLat(s.zoom, lat), px, a);
  };
  for (int v = static_cast<int>(std::floor(west / step)) * step; v <= std::floor(east / step) * step; v += step) {
    const double x = pointOf(s.printPos.lat, v / 3600.0).x;
    p.setPen(line);
    p.drawLine(f.pt(x, a.y), f.pt(x, a.y + a.height));
    if (v % 60 == 0 && x >= a.x && x < a.x + a.width) {
      label(v, x + 1, a.y + 1, false, false);
      label(v, x + 1, a.y + a.height - 1, false, true);
    }
  }
  for (int v = static_cast<int>(std::ceil(south / step)) * step; v <= std::ceil(north / step) * step; v += step) {
    const double y = pointOf(v / 3600.0, s.printPos.lon).y;
    p.setPen(line);
    p.drawLine(f.pt(a.x, y), f.pt(a.x + a.width, y));
    if (v % 60 == 0 && y >= a.y && y < a.y + a.height) {
      label(v, a.x + 1, y + 1, false, false);
      label(v, a.x + a.width - 1, y + 1, true, false);
    }
  }
  p.restore();
}

void drawRoutePDF(QPainter& p, const PrintSheet& s, const DocumentState& doc)
{
  if (s.track_mode == TrackMode::Hidden) return;
  const Flip f{s.geo.paperPointRect.height};
  auto at = [&](const Track& t) {
    const DPoint d = pixelToPoint(pixelFromLon(s.zoom, t.lon), pixelFromLat(s.zoom, t.lat), s.printPixelRect,
                                  s.geo.printPointRect);
    return f.pt(d.x, d.y);
  };
  p.save();
  p.setRenderHint(QPainter::Antialiasing, true);
  auto stroke = [&](const std::vector<Track>& pts, size_t first, size_t last, bool down) {
    QPainterPath path(at(pts[first]));
    for (size_t i = first + 1; i <= last; ++i) path.lineTo(at(pts[i]));
    QPen pen(printColor(down ? s.downColor : s.routeColor, s.gray), down ? s.down_width : s.route_width);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    p.strokePath(path, pen);
  };
  std::vector<int> shown;
  for (int i = 0; i < static_cast<int>(doc.tracks.size()); ++i)
    if (s.track_mode == TrackMode::All || i == doc.active_track) shown.push_back(i);
  for (int i : shown) {
    const auto& pts = doc.tracks[i].points;
    if (pts.empty()) continue;
    if (!doc.invalid_track && s.down_width != 0) {
      std::vector<Stretch> parts;
      colourStretches(pts, i, parts);
      for (const Stretch& st : parts) stroke(pts, st.first, st.last, st.down);
    } else {
      stroke(pts, 0, pts.size() - 1, false);
    }
  }
  if (s.show_peak) {
    p.setPen(QPen(printColor({0, 0, 0, 1}, s.gray), 0.5));
    for (int i : shown)
      for (const Track& t : doc.tracks[i].points) {
        if (t.peak_type == 2) {
          p.setBrush(printColor({0, 0, 0, 0.8}, s.gray));
          p.drawEllipse(at(t), 1.0, 1.0);
        } else if (t.peak_type == 1) {
          p.setBrush(Qt::NoBrush);
          p.drawEllipse(at(t), 2.0, 2.0);
        }
      }
  }
  p.restore();
}

DRect scaleBoxRect(const PrintSheet& s)
{
  const DRect& a = s.geo.printPointRect;
  const double len = calcPoint(scaleBarMetres(s.settings.scale), s.settings.scale);
  DRect box{a.x, a.y, len + 20, 22};
  if (s.print_graph && DRect{0, 0, box.width, box.height}.intersects(s.graphRect)) box.y = a.y + a.height - 22;
  return box;
}

DRect logoBoxRect(const PrintSheet& s, double w, double h)
{
  const DRect& a = s.geo.printPointRect;
  DRect box{a.x + a.width - w - 1, a.y + 1, w, h - 1};
  const DRect rel{box.x - a.x, box.y - a.y, box.width, box.height};
  if (s.print_graph && intersects(rel, s.graphRect)) box.y = a.y + a.height - box.height;
  return box;
}

void drawScalePDF(QPainter& p, const PrintSheet& s)
{
  const Flip f{s.geo.paperPointRect.height};
  const int metres = scaleBarMetres(s.settings.scale);
  const double len = calcPoint(metres, s.settings.scale);
  const DRect box = scaleBoxRect(s);
  p.save();
  p.setRenderHint(QPainter::Antialiasing, false);
  p.fillRect(f.rect(box), printColor({1, 1, 1, 0.5}, s.gray));
  QPen pen(Qt::black, 0.5);
  pen.setCapStyle(Qt::SquareCap);
  p.setPen(pen);
  const double x0 = std::trunc(box.x + 8), y0 = std::trunc(box.y + 12);
  const QPointF frame[] = {f.pt(x0, y0 + 6), f.pt(x0, y0), f.pt(x0 + len, y0), f.pt(x0 + len, y0 + 6)};
  p.drawPolyline(frame, 4);
  p.drawLine(f.pt(x0 + len / 2, y0), f.pt(x0 + len / 2, y0 + 5));
  p.drawLine(f.pt(x0, y0 + 3), f.pt(x0 + len, y0 + 3));
  const QFont font = printFont("Helvetica", 8);
  const QFontMetricsF fm(font, p.device());
  p.setFont(font);
  auto label = [&](const QString& text, double cx) {
    const double w = fm.horizontalAdvance(text), h = fm.height();
    p.drawText(f.rect(cx - w / 2, y0 - h, w, h), Qt::AlignCenter, text);
  };
  label("0", x0);
  label(QString::asprintf("%dm", metres), x0 + len);
  p.restore();
}

void drawLogoPDF(QPainter& p, const PrintSheet& s)
{
  const Flip f{s.geo.paperPointRect.height};
  const QString text = QStringLiteral("国土地理院");
  const QFont font = printFont("HiraMaruPro-W4", 8);
  const QFontMetricsF fm(font, p.device());
  const DRect box = logoBoxRect(s, fm.horizontalAdvance(text), fm.height());
  p.save();
  p.fillRect(f.rect(box), printColor({1, 1, 1, 0.5}, s.gray));
  p.setFont(font);
  p.setPen(Qt::black);
  p.drawText(f.rect(box), Qt::AlignCenter, text);
  p.restore();
}

void drawWayPointPDF(QPainter& p, const PrintSheet& s, const DocumentState& doc)
{
  if (!s.show_wp) return;
  const Flip f{s.geo.paperPointRect.height};
  auto at = [&](const WayPoint& w) {
    return pixelToPoint(pixelFromLon(s.zoom, w.lon), pixelFromLat(s.zoom, w.lat), s.printPixelRect,
                        s.geo.printPointRect);
  };
  p.save();
  if (s.wp_type & 2) {
    const QFont font = printFont(s.wp_font_name, s.wp_font_size);
    const QFontMetricsF fm(font, p.device());
    p.setFont(font);
    const QColor white = printColor({1, 1, 1, 1}, s.gray), ink = printColor(s.wpColor, s.gray);
    for (const WayPoint& w : doc.waypoints) {
      const QString name = QString::fromStdString(w.getMapName());
      if (name.isEmpty()) continue;
      const DPoint c = at(w);
      const double tw = fm.horizontalAdvance(name), th = fm.height();
      DPoint o;
      switch (w.pos) {
        case 0: o = {c.x - tw / 2, c.y + 4}; break;
        case 1: o = {c.x + 1, c.y + 1}; break;
        case 2: o = {c.x + 6, c.y - th / 2}; break;
        case 3: o = {c.x + 1, c.y - th - 1}; break;
        case 5: o = {c.x - tw - 1, c.y - th - 1}; break;
        case 6: o = {c.x - tw - 6, c.y - th / 2}; break;
        case 7: o = {c.x - tw - 1, c.y + 1}; break;
        default: o = {c.x - tw / 2, c.y - th - 4}; break;
      }
      auto text = [&](double dx, double dy, const QColor& col) {
        p.setPen(col);
        p.drawText(f.rect(o.x + dx, o.y + dy, tw, th), Qt::AlignLeft | Qt::AlignVCenter, name);
      };
      text(-0.3, 0, white);
      text(0.3, 0.6, white);
      text(0, 0.3, ink);
    }
  }
  if (s.wp_type & 1) {
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(printColor({0, 0, 0, 1}, s.gray), 0.6));
    p.setBrush(printColor({1, 1, 1, 0.8}, s.gray));
    for (const WayPoint& w : doc.waypoints) {
      const DPoint c = at(w);
      p.drawEllipse(f.pt(c.x, c.y), 2.0, 2.0);
    }
  }
  p.restore();
}

void drawSheetLayers(QPainter& p, const PrintSheet& s, const DocumentState& doc, const GraphDrawer& graph)
{
  const Flip f{s.geo.paperPointRect.height};
  p.save();
  p.setClipRect(f.rect(s.geo.printPointRect), Qt::IntersectClip);
  drawNorthPDF(p, s);
  drawLatLonPDF(p, s);
  drawRoutePDF(p, s, doc);
  drawScalePDF(p, s);
  drawLogoPDF(p, s);
  drawWayPointPDF(p, s, doc);
  p.restore();
  if (s.print_graph && graph) {
    const DRect& a = s.geo.printPointRect;
    graph(p, f.rect(s.graphRect.x + a.x, s.graphRect.y + a.y, s.graphRect.width, s.graphRect.height));
  }
}

void composeSheet(QPainter& p, const PrintSheet& s, const std::vector<MapImagePtr>& tiles, const QImage* offscreen,
                  const DocumentState& doc, const GraphDrawer& graph)
{
  const Flip f{s.geo.paperPointRect.height};
  const QRectF area = f.rect(s.geo.printPointRect);
  p.setRenderHint(QPainter::SmoothPixmapTransform, true);
  if (!s.gray || s.print_graph || !offscreen) {
    p.save();
    p.setClipRect(area, Qt::IntersectClip);
    p.translate(area.topLeft());
    p.scale(area.width() / s.printPixelRect.width, area.height() / s.printPixelRect.height);
    drawTiles(p, s, tiles, false);
    p.restore();
  } else {
    p.drawImage(area, *offscreen);
  }
  drawSheetLayers(p, s, doc, graph);
}

// The PDF engine writes the media box in whole points and flips the page about that whole
// height. The box is rewritten to the exact paper size, its origin shifted by the rounding so
// that the drawing keeps its place; the text keeps its length, so the cross-reference table
// stays valid.
static void exactMediaBox(QByteArray& pdf, double width, double height)
{
  const QByteArray key = "/MediaBox [";
  const qsizetype at = pdf.indexOf(key), end = at < 0 ? -1 : pdf.indexOf(']', at);
  if (end < 0) return;
  const qsizetype from = at + key.size();
  const double flipped = std::round(height);
  for (int prec = 6; prec >= 3; --prec) {
    const QByteArray box = "0 " + QByteArray::number(flipped - height, 'f', prec) + ' ' +
                           QByteArray::number(width, 'f', prec) + ' ' + QByteArray::number(flipped, 'f', prec);
    if (box.size() <= end - from) return void(pdf.replace(from, end - from, box.leftJustified(end - from, ' ')));
  }
}

QByteArray createPDFData(const PrintSheet& s, const std::vector<MapImagePtr>& tiles, const QImage* offscreen,
                         const DocumentState& doc, const QString& title, const GraphDrawer& graph)
{
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  {
    QPdfWriter w(&buffer);
    w.setResolution(72);
    w.setTitle(title);
    w.setCreator(QStringLiteral("Tarnwick"));
    const QSizeF size(s.geo.paperPointRect.width, s.geo.paperPointRect.height);
    w.setPageSize(QPageSize(size, QPageSize::Point, QString(), QPageSize::ExactMatch));
    w.setPageMargins(QMarginsF(0, 0, 0, 0));
    QPainter p(&w);
    composeSheet(p, s, tiles, offscreen, doc, graph);
  }
  exactMediaBox(bytes, s.geo.paperPointRect.width, s.geo.paperPointRect.height);
  return bytes;
}

void previousPrintRects(const PrintSheet& s, DRect& prev, DRect& prevGraph)
{
  const double k = s.normal ? 2 : 1;
  const DRect& px = s.printPixelRect;
  prev = {px.x * k, px.y * k, px.width * k, px.height * k};
  prevGraph = {};
  if (!s.print_graph) return;
  const DRect& pt = s.geo.printPointRect;
  const DRect& g = s.graphRect;
  prevGraph.width = g.width * prev.width / pt.width;
  prevGraph.height = g.height * prev.height / pt.height;
  prevGraph.x = g.x * prev.width / pt.width + prev.x;
  prevGraph.y = prev.y + prev.height - (g.y + g.height) * prev.height / pt.height;
}

}  // namespace tw
