// The printed sheet measured from the PDF itself: `tarnwick-cli pdf` against a loopback tile
// server, rasterised with pdftoppm at 254 dpi (10 pixels a millimetre); the layer placement
// rules on the shared composition.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "gpx/GpxWriter.h"
#include "print/PrintDraw.h"
#include "support/LoopbackControllerFixture.h"
#include "support/LoopbackHttpServer.h"
#include "support/TestPaths.h"

namespace fs = std::filesystem;
using twtest::LoopbackHttpServer;

namespace {

constexpr double kLat = 35.62, kLon = 139.24;  // Takao

class PrintPdfTest : public ::testing::Test {
 protected:
  void SetUp() override
  {
    ASSERT_TRUE(server.start());
    server.setFallbackBody(twtest::pngTile(QColor(200, 230, 200)));
    dir = fs::temp_directory_path() / ("tw_print_pdf_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    std::vector<tw::TrackInfo> tracks(1);
    for (int i = 0; i < 20; ++i) {
      tw::Track t;
      tw::setPosition(t, kLat + i * 0.001, kLon + i * 0.002);
      tracks[0].points.push_back(t);
    }
    std::ofstream(dir / "in.gpx") << tw::buildGPXText(tracks, {}, 0, true);
  }
  void TearDown() override { fs::remove_all(dir); }

  void settings(const std::string& lines)
  {
    std::ofstream(dir / "tarnwick.ini") << "[config]\n" << lines;
  }
  std::pair<int, std::string> run(const std::string& args)
  {
    const fs::path err = dir / "err.txt";
    const std::string cmd = "TARNWICK_CONFIG_DIR='" + dir.string() + "' TARNWICK_CACHE_DIR='" + (dir / "cache").string() +
                            "' TARNWICK_GSI_BASE='" + server.baseUrl() +
                            "' '" TW_CLI "' pdf '" + (dir / "in.gpx").string() + "' " + args + " 2>'" + err.string() +
                            "'";
    const int rc = std::system(cmd.c_str());
    return {WIFEXITED(rc) ? WEXITSTATUS(rc) : -1, twtest::readFile(err.string())};
  }
  std::string out() const { return (dir / "out.pdf").string(); }
  std::string tool(const std::string& cmd)
  {
    const fs::path o = dir / "tool.txt";
    EXPECT_EQ(std::system((cmd + " >'" + o.string() + "' 2>&1").c_str()), 0) << cmd;
    return twtest::readFile(o.string());
  }
  QImage raster()
  {
    tool("pdftoppm -r 254 -png -singlefile '" + out() + "' '" + (dir / "page").string() + "'");
    return QImage(QString::fromStdString((dir / "page.png").string())).convertToFormat(QImage::Format_RGB32);
  }

  LoopbackHttpServer server;
  fs::path dir;
};

bool dark(QRgb c) { return qGray(c) < 100; }
bool blue(QRgb c) { return qBlue(c) > 180 && qRed(c) < 120 && qGreen(c) < 120; }

TEST_F(PrintPdfTest, SheetMeasuresTrueScale)
{
  settings("north=2\nlatlon=0\nshow_waypoint=0\n");
  const auto [status, err] = run("-o '" + out() + "' --paper A4 --scale 25000");
  ASSERT_EQ(status, 0) << err;
  EXPECT_NE(err.find("map tiles"), std::string::npos);  // progress
  const std::string info = tool("pdfinfo '" + out() + "'");
  EXPECT_NE(info.find("595.276 x 841.89 pts"), std::string::npos) << info;  // the paper, not whole points
  EXPECT_NE(info.find("Creator:         Tarnwick"), std::string::npos) << info;
  EXPECT_NE(info.find("Title:           in"), std::string::npos) << info;
  const size_t asked = server.requestCount();  // the same sheet again comes from the tile cache
  ASSERT_EQ(run("-o '" + out() + "' --paper A4 --scale 25000").first, 0);
  EXPECT_EQ(server.requestCount(), asked);

  const QImage page = raster();
  ASSERT_NEAR(page.width(), 2100, 1);  // 210 mm
  // The scale bar's long line: the longest dark run in the bottom 10 mm, left half.
  int best = 0;
  for (int y = page.height() - 100; y < page.height(); ++y) {
    int run = 0;
    for (int x = 0; x < page.width() / 2; ++x) {
      run = dark(page.pixel(x, y)) ? run + 1 : 0;
      best = std::max(best, run);
    }
  }
  EXPECT_NEAR(best, 200, 3);  // 500 m at 1:25,000 = 20.0 mm

  // North lines 20 mm apart along a row, tilted by the declination.
  auto lineCentres = [&](int y) {
    std::vector<double> xs;
    for (int x = 0, start = -1; x < page.width(); ++x) {
      const bool b = blue(page.pixel(x, y));
      if (b && start < 0) start = x;
      if (!b && start >= 0) xs.push_back((start + x - 1) / 2.0), start = -1;
    }
    return xs;
  };
  const auto top = lineCentres(1000), bottom = lineCentres(2000);
  ASSERT_GE(top.size(), 8u);
  for (std::size_t i = 1; i < top.size(); ++i) EXPECT_NEAR(top[i] - top[i - 1], 200, 2);
  // 100 mm lower the same line lies 1000 · tan(declination) pixels further east.
  const double shift = 1000 * std::tan(tw::calcMagneticNorth(kLat + 0.0095, kLon + 0.019) * tw::kPi / 180);
  EXPECT_GT(shift, 50);
  for (double x : top) {
    if (x < 300 || x > page.width() - 300) continue;
    const auto near = std::min_element(bottom.begin(), bottom.end(),
                                       [&](double a, double b) { return std::abs(a - x - shift) < std::abs(b - x - shift); });
    EXPECT_NEAR(*near - x, shift, 2);
  }

  const std::string fonts = tool("pdffonts '" + out() + "'");
  EXPECT_NE(fonts.find("LiberationSans"), std::string::npos) << fonts;
  EXPECT_NE(fonts.find("IPAPGothic"), std::string::npos) << fonts;
  const QRegularExpression row(QStringLiteral("^(\\S+)\\s.*\\s(yes|no)\\s+(yes|no)\\s+(yes|no)\\s+\\d+\\s+\\d+$"),
                               QRegularExpression::MultilineOption);
  int embedded = 0;
  for (auto it = row.globalMatch(QString::fromStdString(fonts)); it.hasNext(); ++embedded)
    EXPECT_EQ(it.next().captured(2), "yes") << fonts;  // the emb column
  EXPECT_EQ(embedded, 2);
}

TEST_F(PrintPdfTest, GridLabelsOnlyAtWholeMinutes)
{
  settings("latlon=1\nnorth=0\n");
  ASSERT_EQ(run("-o '" + out() + "'").first, 0);
  const QString text = QString::fromStdString(tool("pdftotext '" + out() + "' -"));
  const QRegularExpression dms(QStringLiteral("(\\d+)°(\\d\\d)'(\\d\\d)\""));
  int labels = 0;
  for (auto it = dms.globalMatch(text); it.hasNext(); ++labels) EXPECT_EQ(it.next().captured(3), "00");
  // An A4 sheet at 1:25,000 spans about 3' of longitude and 4' of latitude: two labels a line.
  EXPECT_GE(labels, 8);
}

TEST_F(PrintPdfTest, GreyOutputHasNoColouredPixel)
{
  settings("north=2\nlatlon=3\n");
  ASSERT_EQ(run("-o '" + out() + "' --gray --paper B5 --scale 10000").first, 0);
  const QImage page = raster();
  int coloured = 0;
  for (int y = 0; y < page.height(); y += 3)
    for (int x = 0; x < page.width(); x += 3) {
      const QRgb c = page.pixel(x, y);
      coloured += std::max({qRed(c), qGreen(c), qBlue(c)}) - std::min({qRed(c), qGreen(c), qBlue(c)}) > 3;
    }
  EXPECT_EQ(coloured, 0);
}

TEST_F(PrintPdfTest, MissingTilesAreNamedAndNothingIsOverwritten)
{
  std::ofstream(out()) << "old";
  server.setBehaviour("/xyz/std/17/", LoopbackHttpServer::Behaviour::NotFound);
  auto [status, err] = run("-o '" + out() + "' --conveni --landscape");
  EXPECT_EQ(status, 1);
  EXPECT_NE(err.find("could not be fetched"), std::string::npos) << err;
  EXPECT_NE(err.find("17/"), std::string::npos) << err;
  EXPECT_EQ(twtest::readFile(out()), "old");
  std::tie(status, err) = run("-o '" + out() + "' --allow-missing");
  EXPECT_EQ(status, 0) << err;
  EXPECT_EQ(twtest::readFile(out()).rfind("%PDF", 0), 0u);
  // An unwritable path fails without touching anything.
  EXPECT_EQ(run("-o '" + (dir / "no/such/dir/x.pdf").string() + "' --allow-missing").first, 1);
  EXPECT_EQ(run("-o '" + out() + "' --scale 20000").first, 2);
  EXPECT_EQ(run("-o '" + out() + "' --center 48.8,2.3").first, 1);
}

tw::PrintSheet sheet()
{
  tw::Config c;
  tw::writeConfigDefaults(c, {0, 0, 1280, 800});
  return *tw::makePrintSheet(c, {kLat, kLon});
}

TEST(PrintLayers, ScaleAndAttributionLeaveTheGraphsCorner)
{
  tw::PrintSheet s = sheet();
  const tw::DRect& a = s.geo.printPointRect;
  const tw::DRect bottomScale = tw::scaleBoxRect(s), bottomLogo = tw::logoBoxRect(s, 40, 12);
  EXPECT_EQ(bottomScale.y, a.y);
  EXPECT_EQ(bottomLogo.y, a.y + 1);
  s.print_graph = true;
  s.graphRect = {0, 0, 200, 100};  // bottom left
  EXPECT_EQ(tw::scaleBoxRect(s).y, a.y + a.height - 22);
  EXPECT_EQ(tw::logoBoxRect(s, 40, 12).y, a.y + 1);
  s.graphRect = {a.width - 200, 0, 200, 100};  // bottom right
  EXPECT_EQ(tw::scaleBoxRect(s).y, a.y);
  EXPECT_EQ(tw::logoBoxRect(s, 40, 12).y, a.y + a.height - 11);
}

TEST(PrintLayers, WayPointWithoutMapNameGetsAMarkOnly)
{
  tw::PrintSheet s = sheet();
  s.wp_type = 3;
  s.show_wp = true;
  tw::DocumentState doc;
  tw::WayPoint w;
  w.setPosition(kLat, kLon);
  doc.waypoints.push_back(w);
  auto inked = [&] {
    QImage img(static_cast<int>(s.geo.paperPointRect.width), static_cast<int>(s.geo.paperPointRect.height),
               QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    tw::drawWayPointPDF(p, s, doc);
    p.end();
    QRect box;
    for (int y = 0; y < img.height(); ++y)
      for (int x = 0; x < img.width(); ++x)
        if (img.pixel(x, y) != qRgb(255, 255, 255)) box |= QRect(x, y, 1, 1);
    return box;
  };
  const QRect mark = inked();
  EXPECT_LE(mark.width(), 6);  // a 4-point circle and its stroke
  EXPECT_LE(mark.height(), 6);
  doc.waypoints[0].name = "高尾山";
  EXPECT_GT(inked().width(), 20);  // the name is drawn beside it
}

}  // namespace
