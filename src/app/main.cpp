// tarnwick: the desktop application (see LaunchOptions.h for the command line).
#include <QApplication>
#include <QElapsedTimer>
#include <QFontDatabase>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <cstdio>

#include "app/AppDelegate.h"
#include "app/LaunchOptions.h"
#include "app/MainWindow.h"
#include "net/QtHttpClient.h"

namespace {

void setUpLanguage(QApplication& app, QTranslator& qtbase)
{
  // Standard dialogs (file, print) in Japanese like the rest of the app.
  if (qtbase.load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    app.installTranslator(&qtbase);
  QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
  // Set explicitly: the fallback for Japanese text depends on what happens to be installed.
  if (QFontDatabase::hasFamily(QStringLiteral("IPAPGothic"))) {
    QFont f(QStringLiteral("IPAPGothic"));
    f.setPointSizeF(app.font().pointSizeF());
    app.setFont(f);
  }
}

bool workPending(AppDelegate& d)
{
  return d.tileStore.hasRequests() || d.queue.activeThreadCount() > 0 || d.needsRedraw || d.map_needs_draw ||
         d.graph_needs_draw || d.isImporting();
}

// Lets the timers and downloads run until nothing is pending or `waitMs` has passed.
void settle(AppDelegate& d, int waitMs)
{
  QElapsedTimer clock;
  clock.start();
  // At least two draw ticks, so work planned at launch gets started.
  const int minimum = std::min(waitMs, 250);
  while (clock.elapsed() < waitMs) {
    QApplication::processEvents(QEventLoop::AllEvents, 20);
    if (clock.elapsed() >= minimum && !workPending(d)) break;
  }
  QApplication::processEvents();
}

// Alerts are printed rather than shown, so a screenshot run never waits for a click.
class PrintedMessageBoxes : public ScriptedMessageBoxes {
 public:
  void alertMessage(const QString& title, const QString& mess) override
  {
    std::fprintf(stderr, "tarnwick: %s: %s\n", qPrintable(title), qPrintable(mess));
    ScriptedMessageBoxes::alertMessage(title, mess);
  }
};

// The command line's link, imported like a link handed over by a text service.
void importLink(AppDelegate& d, const std::string& link)
{
  if (!link.empty() && !d.importLink(QString::fromLocal8Bit(link.c_str()), false))
    std::fprintf(stderr, "tarnwick: %s is not a route page or GPX link\n", link.c_str());
}

int takeScreenshot(const LaunchOptions& opt)
{
  PrintedMessageBoxes boxes;
  QtHttpClient http;
  AppDelegate d({&boxes, &http});
  // Like the alerts, a page the update notice names is reported, not opened.
  d.openURL = [](const QUrl& url) { std::fprintf(stderr, "tarnwick: %s\n", qPrintable(url.toString())); };
  MainWindow window(d);
  window.setTransient(true);
  window.resize(opt.width, opt.height);
  if (!opt.file.empty()) d.openFile(QString::fromStdString(opt.file));
  window.show();
  d.applicationDidFinishLaunching();
  importLink(d, opt.link);
  settle(d, opt.waitMs);

  QImage image = window.grab().toImage();
  // No window manager draws a title bar offscreen or under Xvfb; the title travels in the PNG.
  image.setText(QStringLiteral("Title"), window.windowTitle());
  const QString out = QString::fromStdString(opt.screenshot);
  if (!image.save(out, "PNG")) {
    std::fprintf(stderr, "tarnwick: cannot write %s\n", qPrintable(out));
    return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv)
{
  QApplication app(argc, argv);  // takes Qt's own options out of argv
  QApplication::setApplicationName(QStringLiteral("Tarnwick"));
  QApplication::setApplicationVersion(QStringLiteral(TW_VERSION));
  QApplication::setDesktopFileName(QStringLiteral("tarnwick"));
  QTranslator qtbase;
  setUpLanguage(app, qtbase);

  std::string error;
  const auto opt = parseLaunchOptions(std::vector<std::string>(argv + 1, argv + argc), error);
  if (!opt) {
    std::fprintf(stderr, "tarnwick: %s\n%s", error.c_str(), kLaunchUsage);
    return 2;
  }
  if (!opt->screenshot.empty()) return takeScreenshot(*opt);

  QtMessageBoxes boxes;
  QtHttpClient http;
  AppDelegate d({&boxes, &http});
  MainWindow window(d);
  boxes.setParent(&window);
  if (!opt->file.empty()) d.openFile(QString::fromLocal8Bit(opt->file.c_str()));
  window.show();
  d.applicationDidFinishLaunching();
  importLink(d, opt->link);
  return app.exec();
}
