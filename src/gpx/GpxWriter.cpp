#include "gpx/GpxWriter.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <random>

#include "gpx/GpxText.h"

namespace tw {

std::string formatFixed(double v, int width, int precision)
{
  char buf[400];
  const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, precision);
  std::string s(buf, r.ec == std::errc() ? r.ptr : buf);
  if (static_cast<int>(s.size()) < width) s.insert(0, static_cast<size_t>(width) - s.size(), ' ');
  return s;
}

namespace {

// Drops what XML 1.0 cannot carry (C0 controls other than TAB, LF, CR; U+FFFE, U+FFFF; broken UTF-8).
std::string xmlChars(std::string_view s)
{
  std::string out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size();) {
    const auto c = static_cast<unsigned char>(s[i]);
    size_t len = c < 0x80 ? 1 : (c & 0xE0) == 0xC0 ? 2 : (c & 0xF0) == 0xE0 ? 3 : (c & 0xF8) == 0xF0 ? 4 : 0;
    if (len == 0 || i + len > s.size() || !isValidUtf8(s.substr(i, len))) {
      ++i;
      continue;
    }
    const std::string_view ch = s.substr(i, len);
    i += len;
    if (len == 1 && c < 0x20 && c != '\t' && c != '\n' && c != '\r') continue;
    if (ch == "\xEF\xBF\xBE" || ch == "\xEF\xBF\xBF") continue;
    out += ch;
  }
  return out;
}

}  // namespace

std::string cdataSection(std::string_view name)
{
  const std::string text = xmlChars(name);
  std::string out = "<![CDATA[";
  size_t from = 0;
  for (size_t at; (at = text.find("]]>", from)) != std::string::npos; from = at + 2)
    out.append(text, from, at + 2 - from).append("]]><![CDATA[");
  out.append(text, from, std::string::npos).append("]]>");
  return out;
}

std::string buildGPXText(const std::vector<TrackInfo>& tracks, const std::vector<WayPoint>& waypoints,
                         int active_track, bool all)
{
  std::string s;
  size_t points = 0;
  for (const auto& t : tracks) points += t.points.size();
  s.reserve(256 + waypoints.size() * 128 + points * 110);
  s += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
  s += "<gpx version=\"1.1\" creator=\"Tarnwick\" xmlns=\"";
  s += kGpx11Namespace;
  s += "\">\n";
  for (const auto& w : waypoints) {
    s += "\t<wpt lat=\"" + formatFixed(w.lat, 8, 6) + "\" lon=\"" + formatFixed(w.lon, 8, 6) + "\">\n";
    // The GPX 1.1 schema orders ele before name inside wpt.
    if (w.elev != kUnknownElevation) s += "\t\t<ele>" + formatFixed(static_cast<double>(w.elev), 6, 2) + "</ele>\n";
    if (!w.name.empty()) s += "\t\t<name>" + cdataSection(w.name) + "</name>\n";
    s += "\t</wpt>\n";
  }
  for (size_t i = 0; i < tracks.size(); ++i) {
    if (!all && static_cast<int>(i) != active_track) continue;
    const auto& t = tracks[i];
    s += "\t<trk>\n";
    if (!t.name.empty()) s += "\t\t<name>" + cdataSection(t.name) + "</name>\n";
    s += "\t\t<number>" + std::to_string(i + 1) + "</number>\n";
    s += "\t\t<trkseg>\n";
    for (const auto& p : t.points) {
      s += "\t\t\t<trkpt lat=\"";
      s += formatFixed(p.lat, 8, 6);
      s += "\" lon=\"";
      s += formatFixed(p.lon, 8, 6);
      s += "\">\n";
      if (p.elev != kUnknownElevation) {
        s += "\t\t\t\t<ele>";
        s += formatFixed(static_cast<double>(p.elev), 4, 2);
        s += "</ele>\n";
      }
      if (p.time) {
        s += "\t\t\t\t<time>";
        s += formatGpxTime(*p.time);
        s += "</time>\n";
      }
      s += "\t\t\t</trkpt>\n";
    }
    s += "\t\t</trkseg>\n";
    s += "\t</trk>\n";
  }
  s += "</gpx>\n";
  return s;
}

bool writeFileAtomically(const std::string& path, std::string_view data)
{
  namespace fs = std::filesystem;
  std::error_code ec;
  fs::path target(path);
  // Replace the file a link points to, not the link.
  if (fs::is_symlink(target, ec)) {
    const fs::path resolved = fs::weakly_canonical(target, ec);
    if (ec) return false;
    target = resolved;
  }
  if (target.filename().empty()) return false;
  const fs::path dir = target.has_parent_path() ? target.parent_path() : fs::path(".");

  std::random_device rd;
  std::mt19937_64 rng(rd() ^ static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()));
  fs::path tmp;
  int fd = -1;
  for (int attempt = 0; attempt < 16 && fd < 0; ++attempt) {
    char suffix[24];
    std::snprintf(suffix, sizeof suffix, ".%012llx.tmp", static_cast<unsigned long long>(rng() & 0xFFFFFFFFFFFFULL));
    tmp = dir / ("." + target.filename().string() + suffix);
    fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) return false;
  }
  if (fd < 0) return false;

  bool ok = true;
  for (size_t done = 0; ok && done < data.size();) {
    const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) ok = false;
    else done += static_cast<size_t>(n);
  }
  struct stat st;
  if (ok && ::stat(target.c_str(), &st) == 0) ::fchmod(fd, st.st_mode & 07777);
  if (ok && ::fsync(fd) != 0) ok = false;
  if (::close(fd) != 0) ok = false;
  if (ok && ::rename(tmp.c_str(), target.c_str()) != 0) ok = false;
  if (!ok) ::unlink(tmp.c_str());
  return ok;
}

}  // namespace tw
