#include "tiles/DiskCache.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <sstream>
#include <thread>
#include <vector>

#include <unistd.h>

namespace fs = std::filesystem;

namespace tw {
namespace {

constexpr int64_t kDay = 24 * 3600;
constexpr int64_t kOsmMinimum = 7 * kDay;
constexpr int64_t kGsiDefault = 30 * kDay;
constexpr int64_t kMissingKept = kDay;
// The layout this code reads and writes; a folder with another marker belongs to someone else.
constexpr std::string_view kLayoutName = "tiles-1";
constexpr std::string_view kLayoutMarker = "Tarnwick tile cache, layout 1\n";
constexpr std::string_view kMagic = "TWTILE1";
constexpr std::string_view kSuffix = ".tile";

std::string lower(std::string_view s)
{
  std::string out(s);
  std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return char(std::tolower(c)); });
  return out;
}

// Header values go on one line of the file.
std::string oneLine(std::string_view s)
{
  std::string out(s.substr(0, 512));
  std::erase_if(out, [](char c) { return c == '\n' || c == '\r'; });
  return out;
}

std::optional<int64_t> lifetimeFromHeaders(const HttpStamp& stamp, int64_t now)
{
  const std::string cc = lower(stamp.cacheControl);
  if (cc.find("no-store") != std::string::npos || cc.find("no-cache") != std::string::npos) return 0;
  if (auto at = cc.find("max-age="); at != std::string::npos) {
    int64_t v = 0;
    const char* b = cc.data() + at + 8;
    auto [end, ec] = std::from_chars(b, cc.data() + cc.size(), v);
    if (ec == std::errc() && end != b) return std::max<int64_t>(v, 0);
  }
  if (!stamp.expires.empty()) {
    const auto expires = parseHttpDate(stamp.expires);
    if (!expires) return 0;  // an invalid Expires means already expired
    const int64_t sent = parseHttpDate(stamp.date).value_or(now);
    return std::max<int64_t>(*expires - sent, 0);
  }
  return std::nullopt;
}

bool parseEntry(const std::string& text, CacheEntry& e)
{
  std::istringstream in(text);
  std::string magic, lastModified, etag;
  uint64_t length = 0;
  if (!(in >> magic >> e.status >> e.stored >> e.freshUntil >> length) || magic != kMagic) return false;
  if (in.get() != '\n' || !std::getline(in, lastModified) || !std::getline(in, etag)) return false;
  const auto at = uint64_t(in.tellg());
  if (at > text.size() || text.size() - at != length) return false;
  if (e.status == 200 ? length == 0 : e.status != 404) return false;
  e.lastModified = lastModified;
  e.etag = etag;
  e.body = text.substr(at);
  return true;
}

std::optional<std::string> readAll(const fs::path& p)
{
  std::ifstream in(p, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream s;
  s << in.rdbuf();
  return std::move(s).str();
}

bool writeAll(const fs::path& p, const std::string& data)
{
  FILE* f = std::fopen(p.c_str(), "wb");
  if (!f) return false;
  const bool ok = std::fwrite(data.data(), 1, data.size(), f) == data.size();
  return (std::fclose(f) == 0) && ok;
}

// Picks the layout folder under `root`: ours, or a new one beside a folder of another layout.
fs::path chooseFolder(const fs::path& root)
{
  for (int i = 0; i < 10; ++i) {
    fs::path candidate = root / (std::string(kLayoutName) + (i ? "." + std::to_string(i) : ""));
    std::error_code ec;
    if (!fs::exists(candidate, ec)) return candidate;
    if (readAll(candidate / "LAYOUT") == std::string(kLayoutMarker)) return candidate;
  }
  return root / (std::string(kLayoutName) + ".10");
}

}  // namespace

CacheKey cacheKey(const Tile& k)
{
  switch (k.type) {
    case kTileDemView:
    case kTileDemPoint: return {"gsi", "dem", 14, k.x, k.y};
    case kTileDem5A: return {"gsi", "dem5a", 14, k.x, k.y};
    default: break;
  }
  switch (k.map) {
    case MapType::Pale: return {"gsi", "pale", k.zoom, k.x, k.y};
    case MapType::Photo: return {"gsi", "photo", k.zoom, k.x, k.y};
    case MapType::OSM: return {"osm", "osm", k.zoom, k.x, k.y};
    default: return {"gsi", "std", k.zoom, k.x, k.y};
  }
}

std::optional<int64_t> parseHttpDate(std::string_view s)
{
  static constexpr std::string_view kMonths = "JanFebMarAprMayJunJulAugSepOctNovDec";
  char wday[4] = {}, mon[4] = {}, zone[4] = {};
  int day = 0, year = 0, h = 0, m = 0, sec = 0;
  const std::string text(s);
  if (std::sscanf(text.c_str(), "%3s, %d %3s %d %d:%d:%d %3s", wday, &day, mon, &year, &h, &m, &sec, zone) != 8)
    return std::nullopt;
  const auto month = kMonths.find(mon);
  if (month == std::string_view::npos || month % 3 || std::string_view(zone) != "GMT") return std::nullopt;
  if (day < 1 || day > 31 || h > 23 || m > 59 || sec > 60 || year < 1970 || year > 9999) return std::nullopt;
  std::tm tm{};
  tm.tm_year = year - 1900;
  tm.tm_mon = int(month / 3);
  tm.tm_mday = day;
  tm.tm_hour = h;
  tm.tm_min = m;
  tm.tm_sec = sec;
  return int64_t(timegm(&tm));
}

int64_t freshUntil(const CacheKey& key, int status, const HttpStamp& stamp, int64_t now)
{
  if (status != 200) return now + kMissingKept;
  if (key.kind == "dem" || key.kind == "dem5a") return kKeptForever;
  const std::optional<int64_t> told = lifetimeFromHeaders(stamp, now);
  if (key.source == "osm") return now + std::max(told.value_or(0), kOsmMinimum);
  return now + told.value_or(kGsiDefault);
}

DiskCache::DiskCache(fs::path root, uint64_t capBytes)
    : now([] { return int64_t(std::time(nullptr)); }), folder_(chooseFolder(root)), cap_(capBytes)
{
}

fs::path DiskCache::defaultRoot()
{
  if (const char* v = std::getenv("TARNWICK_CACHE_DIR"); v && *v) return v;
  if (const char* v = std::getenv("XDG_CACHE_HOME"); v && *v) return fs::path(v) / "Tarnwick";
  const char* home = std::getenv("HOME");
  return fs::path(home && *home ? home : "/tmp") / ".cache" / "Tarnwick";
}

fs::path DiskCache::pathOf(const CacheKey& key) const
{
  return folder_ / key.source / key.kind / std::to_string(key.zoom) / std::to_string(key.x) /
         (std::to_string(key.y) + std::string(kSuffix));
}

bool DiskCache::writable() const
{
  std::lock_guard guard(mutex_);
  return writable_ && cap_ > 0;
}

std::optional<CacheEntry> DiskCache::get(const CacheKey& key)
{
  const fs::path p = pathOf(key);
  const std::optional<std::string> text = readAll(p);
  if (!text) return std::nullopt;
  CacheEntry e;
  std::lock_guard guard(mutex_);
  if (!parseEntry(*text, e)) {
    std::error_code ec;
    fs::remove(p, ec);
    forgetLocked(p.string());
    return std::nullopt;
  }
  scanLocked();
  touchLocked(p.string(), text->size());
  // The file's time carries the access order to the next run.
  std::error_code ec;
  if (writable_) fs::last_write_time(p, fs::file_time_type::clock::now(), ec);
  return e;
}

void DiskCache::remove(const CacheKey& key)
{
  const fs::path p = pathOf(key);
  std::lock_guard guard(mutex_);
  std::error_code ec;
  fs::remove(p, ec);
  forgetLocked(p.string());
}

bool DiskCache::put(const CacheKey& key, const CacheEntry& e)
{
  if (!writable()) return false;
  char head[128];
  std::snprintf(head, sizeof head, "%s %d %lld %lld %zu\n", kMagic.data(), e.status, static_cast<long long>(e.stored),
                static_cast<long long>(e.freshUntil), e.status == 200 ? e.body.size() : std::size_t{0});
  std::string data = head + oneLine(e.lastModified) + '\n' + oneLine(e.etag) + '\n';
  if (e.status == 200) data += e.body;

  static std::atomic<uint64_t> serial{0};
  const fs::path p = pathOf(key);
  const fs::path tmp = p.string() + '.' + std::to_string(::getpid()) + '.' +
                       std::to_string(std::hash<std::thread::id>{}(std::this_thread::get_id()) % 1000000) + '.' +
                       std::to_string(serial++) + ".tmp";
  std::error_code ec;
  // The marker goes first: a folder without it belongs to someone else.
  if (!fs::exists(folder_ / "LAYOUT", ec)) {
    fs::create_directories(folder_, ec);
    if (!ec && !writeAll(folder_ / "LAYOUT", std::string(kLayoutMarker))) ec = std::make_error_code(std::errc::io_error);
  }
  if (!ec) fs::create_directories(p.parent_path(), ec);
  if (ec || !writeAll(tmp, data) || (fs::rename(tmp, p, ec), ec)) {
    fs::remove(tmp, ec);
    disableWriting();
    return false;
  }
  std::lock_guard guard(mutex_);
  scanLocked();
  touchLocked(p.string(), data.size());
  evictLocked(p.string());
  return true;
}

uint64_t DiskCache::size()
{
  std::lock_guard guard(mutex_);
  scanLocked();
  return total_;
}

void DiskCache::disableWriting()
{
  {
    std::lock_guard guard(mutex_);
    if (!writable_) return;
    writable_ = false;
  }
  if (onWriteFailure) onWriteFailure();
}

void DiskCache::scanLocked()
{
  if (scanned_) return;
  scanned_ = true;
  struct Found {
    fs::file_time_type time;
    std::string path;
    uint64_t bytes;
  };
  std::vector<Found> found;
  std::error_code ec;
  for (fs::recursive_directory_iterator it(folder_, ec), end; !ec && it != end; it.increment(ec)) {
    if (!it->is_regular_file(ec) || it->path().extension() != kSuffix) continue;
    found.push_back({it->last_write_time(ec), it->path().string(), uint64_t(it->file_size(ec))});
  }
  std::sort(found.begin(), found.end(), [](const Found& a, const Found& b) { return a.time < b.time; });
  for (const Found& f : found) touchLocked(f.path, f.bytes);
}

void DiskCache::touchLocked(const std::string& path, uint64_t bytes)
{
  if (!scanned_) return;
  forgetLocked(path);
  const uint64_t t = ++tick_;
  uses_[path] = {bytes, t};
  order_.emplace(t, path);
  total_ += bytes;
}

void DiskCache::forgetLocked(const std::string& path)
{
  const auto it = uses_.find(path);
  if (it == uses_.end()) return;
  total_ -= it->second.bytes;
  order_.erase({it->second.tick, path});
  uses_.erase(it);
}

void DiskCache::evictLocked(const std::string& keep)
{
  while (total_ > cap_ && !order_.empty()) {
    auto oldest = order_.begin();
    if (oldest->second == keep) {
      if (order_.size() == 1) return;
      ++oldest;
    }
    const std::string victim = oldest->second;
    std::error_code ec;
    fs::remove(victim, ec);
    forgetLocked(victim);
  }
}

}  // namespace tw
