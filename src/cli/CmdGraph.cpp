// tarnwick-cli graph IN.gpx -o OUT.png [--size WxH] [--track N] [--cycling]: the printed
// elevation graph as an 8-bit grey PNG, drawn as the app's PNG export draws it.
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstdio>
#include <string>

#include "app/ConfigSchema.h"
#include "cli/CliCommands.h"
#include "cli/CliDocument.h"
#include "cli/CliQt.h"
#include "document/DocumentState.h"
#include "graph/GraphDraw.h"

namespace twcli {

namespace {

int usage()
{
  std::fprintf(stderr, "tarnwick-cli: usage: graph IN.gpx -o OUT.png [--size WxH] [--track N] [--cycling]\n");
  return 2;
}

}  // namespace

int cmdGraph(const Args& args)
{
  std::string in, out;
  int track = 1, w = 950, h = 250;
  bool cycling = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--cycling") {
      cycling = true;
    } else if (a == "-o" && i + 1 < args.size()) {
      out = args[++i];
    } else if (a == "--track" && i + 1 < args.size()) {
      if (!parseInt(args[++i], track) || track < 1) return usage();
    } else if (a == "--size" && i + 1 < args.size()) {
      const std::string& s = args[++i];
      const auto x = s.find('x');
      // Bounded so a typing slip cannot ask for gigabytes.
      if (x == std::string::npos || !parseInt(s.substr(0, x), w) || !parseInt(s.substr(x + 1), h) || w < 1 ||
          h < 1 || w > 10000 || h > 10000)
        return usage();
    } else if (in.empty() && !a.empty() && a[0] != '-') {
      in = a;
    } else {
      return usage();
    }
  }
  if (in.empty() || out.empty()) return usage();

  auto data = readDocument(in);
  if (!data) return 1;
  tw::DocumentState doc;
  doc.tracks = std::move(data->tracks);
  doc.waypoints = std::move(data->waypoints);
  doc.outside = data->outside;
  if (doc.tracks.empty()) {
    std::fprintf(stderr, "tarnwick-cli: %s has no track; writing the empty graph\n", in.c_str());
  } else {
    if (!pickTrack(doc.tracks, track, in)) return 1;
    doc.active_track = track - 1;
  }
  tw::Config config;
  tw::writeConfigDefaults(config, tw::FrameRect{});

  // Fonts need a GUI application; the offscreen platform needs no display.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  const QtApp<QGuiApplication> qt;

  const tw::GraphModel model = tw::graphModelFor(doc, config, cycling);
  QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
  {
    QPainter p(&image);
    tw::drawGraphPDF(p, QRectF(0, 0, w, h), false, model);
  }
  if (!image.convertToFormat(QImage::Format_Grayscale8).save(QString::fromStdString(out), "PNG")) {
    std::fprintf(stderr, "tarnwick-cli: cannot write %s\n", out.c_str());
    return 1;
  }
  return 0;
}

}  // namespace twcli
