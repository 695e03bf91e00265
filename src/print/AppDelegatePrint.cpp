// The controller's print commands: the area and print modes, the preview's drawing, the PDF,
// printing and the settings dialog's aftermath. Geometry and drawing live in PrintGeometry and
// PrintDraw; this is the glue to the controller's state and the views.
#include <QDir>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <cmath>

#include "app/AppDelegate.h"
#include "graph/GraphDraw.h"
#include "gpx/GpxWriter.h"
#include "print/SetupPanel.h"
#include "view/InfoView.h"
#include "view/LayerViews.h"

namespace {

const QString kOutsideTitle = QStringLiteral("エラー");
const QString kOutsideMessage = QStringLiteral("海外のデータが含まれているため、印刷範囲指定はできません。");

// The printed graph's drawing; its model is built only when the sheet carries the graph.
auto printedGraph(const AppDelegate& d)
{
  return [&d](QPainter& q, const QRectF& r) { tw::drawGraphPDF(q, r, true, d.graphModel()); };
}

QRectF qtRect(const tw::DRect& r, double H) { return {r.x, H - r.y - r.height, r.width, r.height}; }

}  // namespace

// ---- modes ----

void AppDelegate::areaMode()
{
  if (doc.outside) {
    boxes().alertMessage(kOutsideTitle, kOutsideMessage);
    updateButton();
    return;
  }
  if (mode == tw::Mode::Area) {
    updateButton();
    return;
  }
  if (mode == tw::Mode::Print) releasePrint();
  mode = tw::Mode::Area;
  updateButton();
  if (printPos.lat != 0)
    checkArea();
  else
    printPos = {view.lat, view.lon};
  updatePrintSize();
  selectArea = true;
  updatePosition(13, printPos.lat, printPos.lon);
  redrawAllLayers();
}

void AppDelegate::printMode()
{
  if (doc.outside) {
    boxes().alertMessage(kOutsideTitle, kOutsideMessage);
    updateButton();
    return;
  }
  if (mode == tw::Mode::Print) {
    updateButton();
    return;
  }
  calcTrackInfo();
  if (paper.printDistance.width == 0 || mode != tw::Mode::Area) {
    areaMode();  // printing always passes through the area mode
    return;
  }
  view.org_zoom = view.zoom;
  print_graph = 0;
  select_graph = false;
  mode = tw::Mode::Print;
  updateButton();
  {
    QMutexLocker locker(&lock);
    clearImages();
    demStore.evict(view.zoom, tw::Mode::Print, {});
  }
  updatePrintSize();
  updatePrintScreen();
  redrawAllLayers();
}

void AppDelegate::releasePrint()
{
  offscreen = QImage();
  clearImages();
  mode = tw::Mode::Base;
  view.zoom = view.org_zoom;
  view.center_x = view.center_y = 0;
  slider.setMinValue(6);
  slider.setMaxValue(18);
  slider.updateZoom(view.zoom, false);
  if (graph_type == 2) {
    graph_type = 0;
    calcTrackData();
  }
  if (scaleView) scaleView->show();
  if (logoView) logoView->show();
  updatePosition(view.zoom, view.lat, view.lon);
  redrawScaleLayer();
}

bool AppDelegate::checkArea()
{
  const tw::LatLon c = tw::checkAreaCentre({view.lat, view.lon});
  view.lat = c.lat, view.lon = c.lon;
  if (printPos.lat != 0 &&
      tw::calcDistHubeny(view.lat, view.lon, printPos.lat, printPos.lon) > tw::kAreaQuestionMetres &&
      boxes().confirmMessage(QStringLiteral("確認"),
                             QStringLiteral("前回の印刷範囲から、%1km以上離れています。\n今の中心位置を印刷範囲の中心としますか。")
                                 .arg(static_cast<int>(tw::kAreaQuestionMetres / 1000))))
    printPos = {view.lat, view.lon};
  return true;
}

// ---- geometry ----

void AppDelegate::updatePrintSize()
{
  const auto g = tw::paperGeometry(tw::printSettingsFrom(config));
  if (!g) return;
  paper = *g;
  graphRect = tw::defaultGraphRect(graphRect, paper.printPointRect);
  if (infoView) infoView->update();
}

tw::DRect AppDelegate::calcPrintRect()
{
  const tw::PrintPixelRects r = tw::calcPrintRect(printPos, paper, false);
  paperPixelRect = r.paperPixelRect;
  printPixelRect = r.printPixelRect;
  if (mode == tw::Mode::Print) view.x_rate = r.x_rate, view.y_rate = r.y_rate;
  return printPixelRect;
}

void AppDelegate::calcPrintDispRect()
{
  const tw::PrintDispRects d =
      tw::calcPrintDispRect(paperPixelRect, view.foreRect, view.print_x_zoom, view.print_y_zoom, paper);
  paperDispRect = d.paperDispRect;
  printDispRect = d.printDispRect;
}

void AppDelegate::updatePrintScreen()
{
  mode = tw::Mode::Print;
  offscreen = QImage();
  for (const MapImagePtr& t : tileStore.images()) t->draw = false;
  normal = config.intValue(tw::key::quality) == 0;
  gray = config.intValue(tw::key::color) != 0;
  if (scaleView) scaleView->hide();
  const tw::PrintPixelRects r = tw::calcPrintRect(printPos, paper, normal);
  paperPixelRect = r.paperPixelRect;
  printPixelRect = r.printPixelRect;
  view.x_rate = r.x_rate, view.y_rate = r.y_rate;
  const double height = baseView ? baseView->height() : 600;
  view.print_y_zoom = height / paperPixelRect.height;
  view.print_x_zoom = view.print_y_zoom * view.y_rate / view.x_rate;
  offscreen = tw::makeOffscreen(printSheet());
  slider.setMaxValue(view.print_y_zoom < 1 ? 1.0 : 2 * view.print_y_zoom);
  slider.setMinValue(view.print_y_zoom / 2);
  slider.setMidValue(view.print_y_zoom);
  slider.updatePosition(6, true);
  init_print = false;
  updatePosition(normal ? tw::kPrintZoom - 1 : tw::kPrintZoom, printPos.lat, printPos.lon);
  displayLocation();
}

bool AppDelegate::printLocationDone()
{
  calcPrintDispRect();
  if (init_print) {
    redrawAllLayers();
    return true;
  }
  const tw::DRect& r = printPixelRect;
  const double x0 = std::trunc(r.x / 256), y0 = std::trunc(r.y / 256);
  view.backRect = {x0, y0, std::trunc((r.x + r.width) / 256) - x0 + 1, std::trunc((r.y + r.height) / 256) - y0 + 1};
  init_print = true;
  return false;
}

tw::PrintSheet AppDelegate::printSheet() const
{
  tw::PrintSheet s = tw::makePrintSheet(config, printPos).value_or(tw::PrintSheet{});
  s.geo = paper;
  s.printPixelRect = printPixelRect;
  s.zoom = normal ? tw::kPrintZoom - 1 : tw::kPrintZoom;
  s.normal = normal;
  s.gray = s.enhance.gray = gray;
  s.graphRect = graphRect;
  s.print_graph = print_graph != 0;
  s.track_mode = track_mode;
  s.routeColor = derived.routeColor;
  s.downColor = derived.downColor;
  return s;
}

// ---- drawing ----

void AppDelegate::drawPrintMap(QPainter& p, const QSize& size)
{
  const double H = size.height();
  p.fillRect(QRect(QPoint(0, 0), size), QColor::fromRgbF(0.7, 0.7, 0.7));
  p.fillRect(qtRect(paperDispRect, H), Qt::white);
  if (offscreen.isNull()) return;
  const tw::PrintSheet s = printSheet();
  tw::drawOffscreen(offscreen, s, tileStore.images());
  p.setRenderHint(QPainter::SmoothPixmapTransform, true);
  p.drawImage(qtRect(printDispRect, H), offscreen);
}

void AppDelegate::drawPrintLayers(QPainter& p, const QSize& size)
{
  const double H = size.height();
  const QRectF sheet = qtRect(paperDispRect, H);
  if (paper.paperPointRect.width <= 0 || sheet.isEmpty()) return;
  const tw::PrintSheet s = printSheet();
  p.save();
  p.translate(sheet.topLeft());
  p.scale(sheet.width() / paper.paperPointRect.width, sheet.height() / paper.paperPointRect.height);
  tw::drawSheetLayers(p, s, doc, printedGraph(*this));
  p.restore();
  if (!print_graph || !select_graph) return;
  // The printed graph's frame and its four handles.
  const double fx = printDispRect.width / paper.printPointRect.width;
  const double fy = printDispRect.height / paper.printPointRect.height;
  const tw::DRect g{std::trunc(printDispRect.x + (graphRect.x + 0.4) * fx), std::trunc(printDispRect.y + (graphRect.y + 0.4) * fy),
                    std::trunc((graphRect.width - 0.8) * fx), std::trunc((graphRect.height - 0.8) * fy)};
  p.setPen(QPen(Qt::black, 1));
  p.setBrush(QColor::fromRgbF(0, 1, 0, 0.25));
  p.drawRect(qtRect(g, H));
  const double side = std::max(slider.pos, 4) + 2;
  const tw::DPoint mids[] = {{g.x, g.y + g.height / 2}, {g.x + g.width, g.y + g.height / 2},
                             {g.x + g.width / 2, g.y + g.height}, {g.x + g.width / 2, g.y}};
  for (int i = 0; i < 4; ++i) {
    p.setBrush(selectResize == i + 1 ? QColor::fromRgbF(0, 1, 0, 0.8) : QColor::fromRgbF(1, 1, 1, 0.8));
    p.drawRect(qtRect({mids[i].x - side / 2, mids[i].y - side / 2, side, side}, H));
  }
}

void AppDelegate::drawPrintArea(QPainter& p, const QSize&)
{
  if (mode != tw::Mode::Area) return;
  p.save();
  p.setRenderHint(QPainter::Antialiasing, false);
  const float s = static_cast<float>(std::ldexp(1.0, tw::kPrintZoom - view.zoom));
  const tw::DRect& fore = view.foreRect;
  auto onScreen = [&](const tw::DRect& r) {
    return QRectF(r.x / s - fore.x, r.y / s - fore.y, r.width / s, r.height / s);
  };
  if (prevPrintRect.width > 0) {
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(QColor::fromRgbF(1, 1, 1, 0.25));
    p.drawRect(onScreen(prevPrintRect));
    if (prevGraphRect.width > 0) p.fillRect(onScreen(prevGraphRect), QColor::fromRgbF(0.5, 0.5, 0.5, 0.5));
  }
  const QRectF area = onScreen(calcPrintRect());
  if (!selectArea) {
    p.fillRect(area, QColor::fromRgbF(0, 0, 1, 0.25));
  } else {
    p.fillRect(area, QColor::fromRgbF(0, 1, 0, 0.25));
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(area);
    if (view.zoom >= 15) {
      p.setPen(QPen(QColor::fromRgbF(0, 0, 0, 0.5), 1));
      for (int i = 1; i < 15; ++i) {
        const double x = std::trunc(area.x() + area.width() * i / 15), y = std::trunc(area.y() + area.height() * i / 15);
        p.drawLine(QPointF(x, area.top()), QPointF(x, area.bottom()));
        p.drawLine(QPointF(area.left(), y), QPointF(area.right(), y));
      }
    }
  }
  const QPointF c = area.center();
  p.setPen(QPen(QColor::fromRgbF(1, 0, 0, 0.9), 1));
  p.drawLine(c - QPointF(20, 0), c + QPointF(20, 0));
  p.drawLine(c - QPointF(0, 20), c + QPointF(0, 20));
  if (area.height() > 80) {
    const auto e = tw::paperEntry(config.intValue(tw::key::paper));
    p.setFont(tw::printFont(QStringLiteral("Helvetica"), 48));
    p.setPen(QColor::fromRgbF(0, 0, 0, 0.5));
    const QRectF label(area.left(), area.top(), area.width(), area.height() - 5);
    if (e) p.drawText(label, Qt::AlignHCenter | Qt::AlignBottom, QString::fromLatin1(e->name));
  }
  p.restore();
}

// ---- editing with the mouse ----

bool AppDelegate::inGraphPDF(tw::WindowPoint pt) const
{
  const double fx = printDispRect.width / paper.printPointRect.width;
  const double fy = printDispRect.height / paper.printPointRect.height;
  const double x = printDispRect.x + graphRect.x * fx, y = printDispRect.y + graphRect.y * fy;
  return pt.x >= x && pt.x < x + graphRect.width * fx && pt.y >= y && pt.y < y + graphRect.height * fy;
}

bool AppDelegate::printMouseDown(tw::WindowPoint p)
{
  print_drag.start = print_drag.last = p;
  if (mode == tw::Mode::Area) {
    const double cx = tw::pixelFromLon(view.zoom, printPos.lon) - view.foreRect.x;
    const double cy = tw::pixelFromLat(view.zoom, printPos.lat) - view.foreRect.y;
    const double w = paper.printDistance.width * view.x_rate / 100, h = paper.printDistance.height * view.y_rate / 100;
    const double my = getMapViewSize().height() - p.y;  // map pixels run downward
    const double x0 = std::trunc(cx - w / 2), y0 = std::trunc(cy - h / 2);
    const bool inside = p.x >= x0 && p.x < x0 + w && my >= y0 && my < y0 + h;
    selectArea = inside ? !selectArea : false;
    print_drag.pixelStart = {cx + view.foreRect.x, cy + view.foreRect.y};
    redrawRouteLayer();
    return false;  // an unselected area leaves the press to the map's pan
  }
  if (mode != tw::Mode::Print) return false;
  print_drag.pixelStart = {view.center_x, view.center_y};
  if (print_graph) {
    select_graph = inGraphPDF(p);
    redrawAllLayers();
  }
  return true;
}

bool AppDelegate::printMouseDragged(tw::WindowPoint p)
{
  if (mode == tw::Mode::Area) {
    if (!selectArea) return false;
    // The selected area follows the mouse; the map stays.
    const double dx = p.x - print_drag.start.x, dy = p.y - print_drag.start.y;
    if (std::abs(dx) < 1 && std::abs(dy) < 1) return true;
    printPos = {tw::latFromPixel(view.zoom, print_drag.pixelStart.y - dy), tw::lonFromPixel(view.zoom, print_drag.pixelStart.x + dx)};
    redrawRouteLayer();
    redrawInfoLayer();
    return true;
  }
  if (mode != tw::Mode::Print) return false;
  if (print_graph && select_graph && printDispRect.width > 0) {
    const double px = (p.x - print_drag.last.x) * paper.printPointRect.width / printDispRect.width;
    const double py = (p.y - print_drag.last.y) * paper.printPointRect.height / printDispRect.height;
    const tw::DRect r = selectResize ? tw::resizeGraph(graphRect, selectResize, px, py, paper.printPointRect)
                                     : tw::moveGraph(graphRect, px, py, paper.printPointRect);
    if (r.x != graphRect.x || r.y != graphRect.y || r.width != graphRect.width || r.height != graphRect.height) {
      graphRect = r;
      print_drag.last = p;
      redrawRouteLayer();
    }
    return true;
  }
  // Pan at the print scale.
  const double cx = print_drag.pixelStart.x + std::floor(print_drag.start.x - p.x) / view.print_x_zoom;
  const double cy = print_drag.pixelStart.y - std::floor(print_drag.start.y - p.y) / view.print_y_zoom;
  updatePixelPosition(view.zoom, static_cast<int>(cx), static_cast<int>(cy));
  return true;
}

void AppDelegate::printMouseMoved(tw::WindowPoint p)
{
  if (mode != tw::Mode::Print || !print_graph || !select_graph) return;
  const double fx = printDispRect.width / paper.printPointRect.width;
  const double fy = printDispRect.height / paper.printPointRect.height;
  const tw::DRect screen{printDispRect.x + graphRect.x * fx, printDispRect.y + graphRect.y * fy, graphRect.width * fx,
                         graphRect.height * fy};
  const int handle = tw::graphHandleAt(screen, {p.x, p.y}, view.print_x_zoom);
  if (handle != selectResize) {
    selectResize = handle;
    redrawRouteLayer();
  }
}

// ---- output ----

QByteArray AppDelegate::createPDFData()
{
  if (mode != tw::Mode::Print) return {};
  if (print_graph && graph_type == 2) {
    // The graph of the part of the track on the sheet, outside the graph's own box.
    auto rect = [](const tw::DRect& r) { return tw::RectF{r.x, r.y, r.width, r.height}; };
    calcTrackRange(rect(printPixelRect), rect(paper.printPointRect), rect(graphRect), normal);
    calcTrackData();
  }
  const tw::PrintSheet s = printSheet();
  const QByteArray pdf =
      tw::createPDFData(s, tileStore.images(), offscreen.isNull() ? nullptr : &offscreen, doc, getFileBaseName(),
                        printedGraph(*this));
  tw::previousPrintRects(s, prevPrintRect, prevGraphRect);
  return pdf;
}

void AppDelegate::outputPDF()
{
  if (mode != tw::Mode::Print) return;
  const QString path = boxes().saveFileName(QStringLiteral("PDFファイル保存"), QDir::homePath(),
                                            getFileBaseName() + QStringLiteral(".pdf"), QStringLiteral("PDF (*.pdf)"));
  if (!path.isEmpty()) {
    const QByteArray pdf = createPDFData();
    // A failed write leaves any old file as it was.
    tw::writeFileAtomically(path.toStdString(), std::string_view(pdf.constData(), pdf.size()));
  }
  updateButton();
}

void AppDelegate::printMap()
{
  if (mode != tw::Mode::Print) return;
  if (runPrint) return runPrint(true);
  QPrinter printer(QPrinter::HighResolution);
  printer.setFullPage(true);
  printer.setPageSize(QPageSize(QSizeF(paper.paperPointRect.width, paper.paperPointRect.height), QPageSize::Point,
                                QString(), QPageSize::FuzzyOrientationMatch));
  printer.setPageOrientation(config.intValue(tw::key::direction) ? QPageLayout::Landscape : QPageLayout::Portrait);
  QPrintDialog dialog(&printer, baseView);
  const bool accepted = dialog.exec() == QDialog::Accepted;
  updateButton();
  if (!accepted) return;
  QPainter p(&printer);
  p.scale(printer.resolution() / 72.0, printer.resolution() / 72.0);  // scaling 1.0: points stay points
  tw::composeSheet(p, printSheet(), tileStore.images(), offscreen.isNull() ? nullptr : &offscreen, doc,
                   printedGraph(*this));
}

void AppDelegate::previewMap()
{
  if (mode != tw::Mode::Print) return;
  if (runPrint) return runPrint(false);
  QPrinter printer(QPrinter::HighResolution);
  printer.setFullPage(true);
  printer.setPageSize(QPageSize(QSizeF(paper.paperPointRect.width, paper.paperPointRect.height), QPageSize::Point,
                                QString(), QPageSize::FuzzyOrientationMatch));
  QPrintPreviewDialog dialog(&printer, baseView);
  QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, [this](QPrinter* pr) {
    QPainter p(pr);
    p.scale(pr->resolution() / 72.0, pr->resolution() / 72.0);
    tw::composeSheet(p, printSheet(), tileStore.images(), offscreen.isNull() ? nullptr : &offscreen, doc,
                     printedGraph(*this));
  });
  dialog.exec();
}

void AppDelegate::pageSetup()
{
  const int oldPaper = config.intValue(tw::key::paper), oldDirection = config.intValue(tw::key::direction);
  const bool ok = runSetupPanel ? runSetupPanel() : SetupPanel::run(*this, baseView);
  if (ok) {
    saveConfig();
    loadConfig();
    tw::copyColors(config, derived);
    if (config.intValue(tw::key::paper) != oldPaper || config.intValue(tw::key::direction) != oldDirection)
      graphRect = {};
    calcWayPointPosition();
    updatePrintSize();
    if (mode == tw::Mode::Print) updatePrintScreen();
    redrawAllLayers();
  }
  updateButton();
}
