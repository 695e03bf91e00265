// Draws the marker images and button icons into resources/images/ (run by hand after a change:
// cmake --build <dir> --target tw_draw_images && <dir>/src/app/tw_draw_images resources/images).
// Each image is a few QPainter shapes so the artwork stays reproducible from source.
#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <cmath>
#include <cstdio>
#include <functional>

namespace {

QString outDir;

void save(const QImage& img, const QString& name)
{
  const QString path = outDir + QLatin1Char('/') + name + QStringLiteral(".png");
  if (!img.save(path)) std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
}

QImage canvas(int w, int h)
{
  QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
  img.fill(Qt::transparent);
  return img;
}

void dot(const QString& name, int size, QColor fill)
{
  QImage img = canvas(size, size);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(40, 40, 40), 1.0));
  p.setBrush(fill);
  p.drawEllipse(QRectF(0.5, 0.5, size - 1.0, size - 1.0));
  save(img, name);
}

void lettered(const QString& name, QColor fill, const QString& letter)
{
  const int s = 24;
  QImage img = canvas(s, s);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(Qt::white, 2.0));
  p.setBrush(fill);
  p.drawEllipse(QRectF(1.5, 1.5, s - 3.0, s - 3.0));
  QFont f(QStringLiteral("DejaVu Sans"));
  f.setBold(true);
  f.setPixelSize(13);
  p.setFont(f);
  p.drawText(QRectF(0, 0, s, s), Qt::AlignCenter, letter);
  save(img, name);
}

void flagShape(QPainter& p, QRectF r, QColor cloth)
{
  p.setPen(QPen(QColor(60, 60, 60), r.width() / 12.0, Qt::SolidLine, Qt::RoundCap));
  const double x = r.left() + r.width() * 0.25;
  p.drawLine(QPointF(x, r.top() + r.height() * 0.1), QPointF(x, r.bottom()));
  QPainterPath cloth_path;
  cloth_path.moveTo(x, r.top() + r.height() * 0.1);
  cloth_path.lineTo(r.right() - r.width() * 0.08, r.top() + r.height() * 0.3);
  cloth_path.lineTo(x, r.top() + r.height() * 0.52);
  cloth_path.closeSubpath();
  p.setPen(QPen(cloth.darker(150), 1.0));
  p.setBrush(cloth);
  p.drawPath(cloth_path);
}

void waypoint(const QString& name, QColor cloth)
{
  QImage img = canvas(16, 16);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  flagShape(p, QRectF(0, 0, 16, 16), cloth);
  save(img, name);
}

void rest()
{
  QImage img = canvas(20, 20);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(Qt::white, 1.5));
  p.setBrush(QColor(30, 110, 200));
  p.drawEllipse(QRectF(1, 1, 18, 18));
  // A cup with a handle.
  p.setBrush(Qt::white);
  p.setPen(Qt::NoPen);
  p.drawRect(QRectF(5, 7, 7, 7));
  p.setPen(QPen(Qt::white, 1.5));
  p.setBrush(Qt::NoBrush);
  p.drawArc(QRectF(10.5, 8, 4, 4.5), -90 * 16, 180 * 16);
  save(img, QStringLiteral("rest20"));
}

using Glyph = std::function<void(QPainter&, QColor)>;

void button(const QString& name, const Glyph& glyph)
{
  for (bool on : {false, true}) {
    QImage img = canvas(32, 32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(on ? QColor(20, 90, 170) : QColor(150, 150, 150), 1.0));
    p.setBrush(on ? QColor(50, 130, 220) : QColor(245, 245, 245));
    p.drawRoundedRect(QRectF(0.5, 0.5, 31, 31), 6, 6);
    glyph(p, on ? Qt::white : QColor(50, 50, 50));
    p.end();
    save(img, on ? name + QStringLiteral("_on") : name);
  }
}

void single(const QString& name, const Glyph& glyph)
{
  QImage img = canvas(32, 32);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(150, 150, 150), 1.0));
  p.setBrush(QColor(245, 245, 245));
  p.drawRoundedRect(QRectF(0.5, 0.5, 31, 31), 6, 6);
  glyph(p, QColor(50, 50, 50));
  p.end();
  save(img, name);
}

QPen pen(QColor c, double w = 2.0) { return QPen(c, w, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin); }

Glyph text(const QString& s, int px)
{
  return [s, px](QPainter& p, QColor c) {
    QFont f(QStringLiteral("IPAPGothic"));
    f.setBold(true);
    f.setPixelSize(px);
    p.setFont(f);
    p.setPen(c);
    p.drawText(QRectF(0, 0, 32, 32), Qt::AlignCenter, s);
  };
}

void printer(QPainter& p, QColor c)
{
  p.setPen(pen(c, 1.6));
  p.setBrush(Qt::NoBrush);
  p.drawRect(QRectF(10, 6, 12, 7));
  p.drawRoundedRect(QRectF(6, 12, 20, 10), 2, 2);
  p.setBrush(c == Qt::white ? QColor(50, 130, 220) : QColor(245, 245, 245));
  p.drawRect(QRectF(10, 18, 12, 8));
}

void arrowHead(QPainter& p, QPointF tip, double angleDeg)
{
  const double a = angleDeg * M_PI / 180.0;
  const QPointF l = tip - QPointF(std::cos(a - 0.5) * 5, std::sin(a - 0.5) * 5);
  const QPointF r = tip - QPointF(std::cos(a + 0.5) * 5, std::sin(a + 0.5) * 5);
  p.drawLine(tip, l);
  p.drawLine(tip, r);
}

// The track pointer is a red disc; the arrow drawn over it points east (the overlay turns it
// along the track), so together they read as a heading marker.
void trackPointer()
{
  QImage disc = canvas(24, 24);
  {
    QPainter p(&disc);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::white, 2.0));
    p.setBrush(QColor(230, 40, 40));
    p.drawEllipse(QPointF(12, 12), 9, 9);
  }
  save(disc, QStringLiteral("pointer24"));
  QImage arrow = canvas(24, 24);
  {
    QPainter p(&arrow);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawPolygon(QPolygonF({QPointF(19.5, 12), QPointF(7.5, 5.5), QPointF(10.5, 12), QPointF(7.5, 18.5)}));
  }
  save(arrow, QStringLiteral("arrow24"));
}

// The zoom slider's marker: a dark triangle pointing into the row it stands on.
void sliderPointer()
{
  QImage img = canvas(16, 16);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(Qt::white, 1.0));
  p.setBrush(QColor(30, 30, 30));
  p.drawPolygon(QPolygonF({QPointF(2.5, 2.5), QPointF(13.5, 8), QPointF(2.5, 13.5)}));
  save(img, QStringLiteral("pointer"));
}

void drawAll()
{
  trackPointer();
  sliderPointer();
  for (auto [name, color] : {std::pair{"white", QColor(Qt::white)}, {"green", QColor(40, 200, 60)},
                             {"orange", QColor(255, 150, 20)}, {"cyan", QColor(40, 220, 230)}}) {
    dot(QString::fromLatin1(name) + QStringLiteral("10"), 10, color);
    dot(QString::fromLatin1(name) + QStringLiteral("8"), 8, color);
  }
  lettered(QStringLiteral("start"), QColor(30, 160, 60), QStringLiteral("S"));
  lettered(QStringLiteral("end"), QColor(210, 40, 40), QStringLiteral("G"));
  rest();
  waypoint(QStringLiteral("waypoint"), QColor(255, 140, 0));
  waypoint(QStringLiteral("active_waypoint"), QColor(230, 30, 30));

  button(QStringLiteral("base"), [](QPainter& p, QColor c) {  // an eye: viewing
    p.setPen(pen(c));
    p.setBrush(Qt::NoBrush);
    QPainterPath eye;
    eye.moveTo(5, 16);
    eye.quadTo(16, 5, 27, 16);
    eye.quadTo(16, 27, 5, 16);
    p.drawPath(eye);
    p.setBrush(c);
    p.drawEllipse(QPointF(16, 16), 3.5, 3.5);
  });
  button(QStringLiteral("area"), [](QPainter& p, QColor c) {
    QPen d = pen(c);
    d.setStyle(Qt::DashLine);
    p.setPen(d);
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(6, 8, 20, 16));
  });
  button(QStringLiteral("prn"), printer);
  button(QStringLiteral("edit"), [](QPainter& p, QColor c) {  // a pencil
    p.save();
    p.translate(16, 16);
    p.rotate(-45);
    p.setPen(pen(c, 1.6));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(-8, -3, 13, 6));
    QPainterPath tip;
    tip.moveTo(5, -3);
    tip.lineTo(10, 0);
    tip.lineTo(5, 3);
    p.drawPath(tip);
    p.restore();
  });
  button(QStringLiteral("input"), [](QPainter& p, QColor c) {  // a line growing by a point
    p.setPen(pen(c));
    p.drawLine(QPointF(6, 24), QPointF(14, 14));
    p.setBrush(c);
    p.drawEllipse(QPointF(14, 14), 2.5, 2.5);
    p.drawLine(QPointF(22, 8), QPointF(22, 18));
    p.drawLine(QPointF(17, 13), QPointF(27, 13));
  });
  button(QStringLiteral("track"), [](QPainter& p, QColor c) {  // a polyline with vertices
    p.setPen(pen(c));
    const QPointF pts[] = {{6, 24}, {12, 12}, {20, 18}, {26, 8}};
    p.drawPolyline(pts, 4);
    p.setBrush(c);
    for (auto q : pts) p.drawRect(QRectF(q.x() - 2, q.y() - 2, 4, 4));
  });
  button(QStringLiteral("flag"), [](QPainter& p, QColor c) { flagShape(p, QRectF(6, 4, 22, 24), c); });
  button(QStringLiteral("table"), [](QPainter& p, QColor c) {
    p.setPen(pen(c, 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(6, 7, 20, 18));
    p.drawLine(QPointF(6, 13), QPointF(26, 13));
    p.drawLine(QPointF(6, 19), QPointF(26, 19));
    p.drawLine(QPointF(13, 7), QPointF(13, 25));
  });
  button(QStringLiteral("graph"), [](QPainter& p, QColor c) {  // an elevation profile
    p.setPen(pen(c, 1.5));
    p.drawLine(QPointF(6, 25), QPointF(26, 25));
    p.drawLine(QPointF(6, 25), QPointF(6, 7));
    const QPointF pts[] = {{7, 22}, {11, 16}, {14, 18}, {19, 9}, {22, 14}, {26, 20}};
    p.setPen(pen(c, 2.0));
    p.drawPolyline(pts, 6);
  });
  button(QStringLiteral("zoom"), [](QPainter& p, QColor c) {
    p.setPen(pen(c, 2.2));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(14, 14), 7, 7);
    p.drawLine(QPointF(19, 19), QPointF(26, 26));
  });
  button(QStringLiteral("info"), text(QStringLiteral("i"), 20));
  button(QStringLiteral("peak"), [](QPainter& p, QColor c) {
    p.setPen(pen(c));
    p.setBrush(Qt::NoBrush);
    QPainterPath m;
    m.moveTo(5, 25);
    m.lineTo(13, 10);
    m.lineTo(17, 16);
    m.lineTo(20, 12);
    m.lineTo(27, 25);
    m.closeSubpath();
    p.drawPath(m);
  });
  button(QStringLiteral("drink"), [](QPainter& p, QColor c) {
    p.setPen(pen(c));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(8, 11, 12, 12));
    p.drawArc(QRectF(17, 13, 7, 7), -90 * 16, 180 * 16);
    p.drawLine(QPointF(11, 6), QPointF(11, 9));
    p.drawLine(QPointF(15, 6), QPointF(15, 9));
  });
  button(QStringLiteral("std"), text(QStringLiteral("標"), 18));
  button(QStringLiteral("pale"), text(QStringLiteral("淡"), 18));
  button(QStringLiteral("photo"), text(QStringLiteral("写"), 18));
  button(QStringLiteral("osm"), text(QStringLiteral("OSM"), 11));
  auto corners = [](bool out) {
    return [out](QPainter& p, QColor c) {
      p.setPen(pen(c));
      const QPointF cs[] = {{7, 7}, {25, 7}, {25, 25}, {7, 25}};
      for (auto q : cs) {
        const QPointF in(q.x() < 16 ? q.x() + 6 : q.x() - 6, q.y() < 16 ? q.y() + 6 : q.y() - 6);
        p.drawLine(q, in);
        const QPointF tip = out ? q : in;
        const QPointF from = out ? in : q;
        arrowHead(p, tip, std::atan2(tip.y() - from.y(), tip.x() - from.x()) * 180.0 / M_PI);
      }
    };
  };
  single(QStringLiteral("fullscreen"), corners(true));
  single(QStringLiteral("fullscreen_off"), corners(false));
  single(QStringLiteral("calc"), text(QStringLiteral("標高"), 12));
  single(QStringLiteral("back"), [](QPainter& p, QColor c) {
    p.setPen(pen(c));
    p.drawLine(QPointF(24, 16), QPointF(8, 16));
    arrowHead(p, QPointF(8, 16), 180);
  });
  single(QStringLiteral("clear"), [](QPainter& p, QColor c) {
    p.setPen(pen(c, 2.4));
    p.drawLine(QPointF(9, 9), QPointF(23, 23));
    p.drawLine(QPointF(23, 9), QPointF(9, 23));
  });
  single(QStringLiteral("turn"), [](QPainter& p, QColor c) {
    p.setPen(pen(c));
    p.setBrush(Qt::NoBrush);
    p.drawLine(QPointF(10, 26), QPointF(10, 14));
    p.drawArc(QRectF(10, 7, 12, 14), 0, 180 * 16);
    p.drawLine(QPointF(22, 14), QPointF(22, 24));
    arrowHead(p, QPointF(22, 25), 90);
  });
  single(QStringLiteral("reverse"), [](QPainter& p, QColor c) {
    p.setPen(pen(c));
    p.drawLine(QPointF(7, 12), QPointF(25, 12));
    arrowHead(p, QPointF(25, 12), 0);
    p.drawLine(QPointF(25, 21), QPointF(7, 21));
    arrowHead(p, QPointF(7, 21), 180);
  });
  single(QStringLiteral("setup"), [](QPainter& p, QColor c) {  // a gear
    p.setPen(pen(c, 3.0));
    for (int i = 0; i < 8; ++i) {
      const double a = i * M_PI / 4;
      p.drawLine(QPointF(16 + std::cos(a) * 7, 16 + std::sin(a) * 7), QPointF(16 + std::cos(a) * 10, 16 + std::sin(a) * 10));
    }
    p.setPen(pen(c, 2.0));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(16, 16), 6.5, 6.5);
    p.drawEllipse(QPointF(16, 16), 2.5, 2.5);
  });
  single(QStringLiteral("pdf"), text(QStringLiteral("PDF"), 11));
  single(QStringLiteral("print"), printer);
  // The application icon.
  QImage icon = canvas(128, 128);
  {
    QPainter p(&icon);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(235, 245, 230));
    p.drawRoundedRect(QRectF(4, 4, 120, 120), 22, 22);
    QPainterPath m;
    m.moveTo(10, 104);
    m.lineTo(50, 38);
    m.lineTo(68, 62);
    m.lineTo(84, 44);
    m.lineTo(118, 104);
    m.closeSubpath();
    p.setBrush(QColor(90, 140, 90));
    p.drawPath(m);
    QPen route(QColor(230, 30, 30), 6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(route);
    const QPointF pts[] = {{22, 112}, {40, 90}, {36, 72}, {52, 56}, {50, 40}};
    p.drawPolyline(pts, 5);
  }
  save(icon, QStringLiteral("tarnwick"));
}

}  // namespace

int main(int argc, char** argv)
{
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  outDir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("resources/images");
  QDir().mkpath(outDir);
  drawAll();
  return 0;
}
