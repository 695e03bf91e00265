// The Help menu's web pages and about box, and two comforts of the map: showing the whole
// track, and reopening recent files.
#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QUrl>
#include <algorithm>
#include <limits>

#include "app/AboutPanel.h"
#include "app/AppDelegate.h"
#include "app/RecentFiles.h"
#include "tiles/WebPages.h"
#include "view/Viewport.h"

namespace {

void openPage(AppDelegate& d, const std::string& address)
{
  const QUrl url(QString::fromStdString(address));
  if (d.openURL)
    d.openURL(url);
  else
    QDesktopServices::openUrl(url);
}

}  // namespace

void AppDelegate::showHelp() { openPage(*this, tw::helpPage()); }
void AppDelegate::showPemblo() { openPage(*this, tw::gsiMapPage(view.lat, view.lon, view.zoom)); }
void AppDelegate::showQuorra() { openPage(*this, tw::openTopoMapPage(view.lat, view.lon, view.zoom)); }
void AppDelegate::showSallow() { openPage(*this, tw::openStreetMapPage(view.lat, view.lon, view.zoom)); }

void AppDelegate::showAbout()
{
  if (runAboutPanel) {
    runAboutPanel();
    return;
  }
  AboutPanel panel([this](const QString& url) { openPage(*this, url.toStdString()); },
                   baseView ? baseView->window() : nullptr);
  panel.exec();
}

void AppDelegate::fitTrack()
{
  const auto* r = routes();
  if (!r || r->empty() || !tw::baseOrEdit(mode)) return;
  int32_t minX = std::numeric_limits<int32_t>::max(), minY = minX;
  int32_t maxX = std::numeric_limits<int32_t>::min(), maxY = maxX;
  for (const tw::Track& t : *r) {
    minX = std::min(minX, t.x);
    maxX = std::max(maxX, t.x);
    minY = std::min(minY, t.y);
    maxY = std::max(maxY, t.y);
  }
  const QSizeF size = getMapViewSize();
  const int zoom = tw::zoomToFit({minX, minY}, {maxX, maxY}, {size.width(), size.height()});
  const double cx = (static_cast<double>(minX) + maxX) / 2, cy = (static_cast<double>(minY) + maxY) / 2;
  const bool leaves = tw::leavesEditingZoom(view.zoom, zoom, mode);
  updatePosition(zoom, tw::latFromPixel(18, cy), tw::lonFromPixel(18, cx));
  redrawAllLayers();
  if (leaves) leaveEditingZoom();
}

void AppDelegate::noteRecentFile(const QString& path)
{
  tw::addRecentFile(derived.recent_files, QFileInfo(path).absoluteFilePath().toStdString());
  emit recentFilesChanged();
}

void AppDelegate::openRecentFile(const QString& path)
{
  QFile file(path);
  constexpr qint64 kMaxSize = qint64(1) << 30;
  if (QFileInfo(path).size() > kMaxSize || !file.open(QIODevice::ReadOnly)) {
    boxes().alertMessage(QStringLiteral("エラー"),
                         QStringLiteral("GPXデータの読み込みに失敗しました。\nファイルが壊れている可能性があります。"));
    return;
  }
  if (resetGraphSelection) resetGraphSelection();
  if (!loadGPXData(file.readAll(), false)) return;
  setFileName(QFileInfo(path).fileName());
  requestElevation();
  noteRecentFile(path);
}
