#include "gpx/GpxText.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace tw {

bool isValidUtf8(std::string_view bytes)
{
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const auto* end = p + bytes.size();
  while (p < end) {
    // Most GPX text is ASCII: skip it eight bytes at a time.
    while (end - p >= 8) {
      uint64_t chunk;
      std::memcpy(&chunk, p, 8);
      if (chunk & 0x8080808080808080ULL) break;
      p += 8;
    }
    if (p >= end) break;
    const unsigned char c = *p;
    if (c < 0x80) {
      ++p;
      continue;
    }
    int len;
    uint32_t min;
    uint32_t cp;
    if ((c & 0xE0) == 0xC0) {
      len = 2, min = 0x80, cp = c & 0x1F;
    } else if ((c & 0xF0) == 0xE0) {
      len = 3, min = 0x800, cp = c & 0x0F;
    } else if ((c & 0xF8) == 0xF0) {
      len = 4, min = 0x10000, cp = c & 0x07;
    } else {
      return false;
    }
    if (end - p < len) return false;
    for (int i = 1; i < len; ++i) {
      if ((p[i] & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (p[i] & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
    p += len;
  }
  return true;
}

namespace {

bool isUnicodeSpace(uint32_t cp)
{
  return (cp >= 0x09 && cp <= 0x0D) || cp == 0x20 || cp == 0x85 || cp == 0xA0 || cp == 0x1680 ||
         (cp >= 0x2000 && cp <= 0x200A) || cp == 0x2028 || cp == 0x2029 || cp == 0x202F ||
         cp == 0x205F || cp == 0x3000;
}

// Length of the white-space character starting at s[i], 0 when there is none.
size_t spaceAt(std::string_view s, size_t i)
{
  const auto c = static_cast<unsigned char>(s[i]);
  if (c < 0x80) return isUnicodeSpace(c) ? 1 : 0;
  size_t len = (c & 0xE0) == 0xC0 ? 2 : (c & 0xF0) == 0xE0 ? 3 : 0;
  if (len == 0 || i + len > s.size()) return 0;
  uint32_t cp = c & (len == 2 ? 0x1F : 0x0F);
  for (size_t k = 1; k < len; ++k) cp = (cp << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
  return isUnicodeSpace(cp) ? len : 0;
}

// Length of the white-space character ending just before s[end], 0 when there is none.
size_t spaceBefore(std::string_view s, size_t end)
{
  for (size_t len = 1; len <= 3 && len <= end; ++len) {
    const auto c = static_cast<unsigned char>(s[end - len]);
    if ((c & 0xC0) == 0x80) continue;  // continuation byte: the character starts further back
    return spaceAt(s, end - len) == len ? len : 0;
  }
  return 0;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::string_view trimWhitespace(std::string_view text)
{
  size_t b = 0;
  while (b < text.size()) {
    const size_t n = spaceAt(text, b);
    if (n == 0) break;
    b += n;
  }
  size_t e = text.size();
  while (e > b) {
    const size_t n = spaceBefore(text, e);
    if (n == 0) break;
    e -= n;
  }
  return text.substr(b, e - b);
}

double leadingDouble(std::string_view text)
{
  size_t i = 0;
  while (i < text.size()) {
    const size_t n = spaceAt(text, i);
    if (n == 0) break;
    i += n;
  }
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  const std::string_view rest = text.substr(i);
  const bool startsNumber =
      !rest.empty() && (isDigit(rest[0]) || (rest[0] == '.' && rest.size() > 1 && isDigit(rest[1])));
  if (!startsNumber) return 0.0;
  double v = 0.0;
  const auto r = std::from_chars(rest.data(), rest.data() + rest.size(), v, std::chars_format::general);
  if (r.ec == std::errc::result_out_of_range) {
    // Decide between overflow and underflow from the decimal magnitude of the matched text.
    const std::string_view m = rest.substr(0, static_cast<size_t>(r.ptr - rest.data()));
    long long magnitude = 0;
    size_t k = 0;
    while (k < m.size() && m[k] == '0') ++k;
    long long intDigits = 0;
    while (k < m.size() && isDigit(m[k])) ++intDigits, ++k;
    if (intDigits > 0) {
      magnitude = intDigits;
      while (k < m.size() && (isDigit(m[k]) || m[k] == '.')) ++k;
    } else {
      if (k < m.size() && m[k] == '.') ++k;
      long long zeros = 0;
      while (k < m.size() && m[k] == '0') ++zeros, ++k;
      magnitude = -zeros;
      while (k < m.size() && isDigit(m[k])) ++k;
    }
    if (k < m.size() && (m[k] == 'e' || m[k] == 'E')) {
      ++k;
      bool expNeg = false;
      if (k < m.size() && (m[k] == '+' || m[k] == '-')) expNeg = m[k++] == '-';
      long long e = 0;
      while (k < m.size() && isDigit(m[k])) {
        if (e < 1000000000LL) e = e * 10 + (m[k] - '0');
        ++k;
      }
      magnitude += expNeg ? -e : e;
    }
    v = magnitude > 0 ? HUGE_VAL : 0.0;
  } else if (r.ec != std::errc()) {
    return 0.0;
  }
  return negative ? -v : v;
}

float elevationFromText(std::string_view text)
{
  const double d = leadingDouble(text);
  if (!std::isfinite(d) || std::fabs(d) > 1e30) return kUnknownElevation;
  const float f = static_cast<float>(d);
  if (f < 0.0f || f > 3800.0f) return kUnknownElevation;
  return f;
}

namespace {

bool digits(std::string_view s, size_t at, size_t n, int& out)
{
  out = 0;
  for (size_t k = at; k < at + n; ++k) {
    if (!isDigit(s[k])) return false;
    out = out * 10 + (s[k] - '0');
  }
  return true;
}

}  // namespace

std::optional<TimePoint> parseGpxTime(std::string_view s)
{
  // 0123456789012345678901234
  // 2019-05-03T01:02:03Z
  // 2019-05-03T01:02:03.250Z
  if (s.size() != 20 && s.size() != 24) return std::nullopt;
  if (s[4] != '-' || s[7] != '-' || s[10] != 'T' || s[13] != ':' || s[16] != ':' || s.back() != 'Z')
    return std::nullopt;
  int y, mo, d, h, mi, se, ms = 0;
  if (!digits(s, 0, 4, y) || !digits(s, 5, 2, mo) || !digits(s, 8, 2, d) || !digits(s, 11, 2, h) ||
      !digits(s, 14, 2, mi) || !digits(s, 17, 2, se))
    return std::nullopt;
  if (s.size() == 24 && (s[19] != '.' || !digits(s, 20, 3, ms))) return std::nullopt;
  if (y < 1 || h > 23 || mi > 59 || se > 59) return std::nullopt;
  using namespace std::chrono;
  const year_month_day ymd{year{y}, month{static_cast<unsigned>(mo)}, day{static_cast<unsigned>(d)}};
  if (!ymd.ok()) return std::nullopt;
  return TimePoint{sys_days{ymd}.time_since_epoch() + hours{h} + minutes{mi} + seconds{se} +
                   milliseconds{ms}};
}

std::string formatGpxTime(TimePoint t)
{
  using namespace std::chrono;
  const auto secs = floor<seconds>(t);
  const auto days = floor<std::chrono::days>(secs);
  const year_month_day ymd{days};
  const hh_mm_ss hms{secs - days};
  char buf[64];
  const int y = static_cast<int>(ymd.year());
  // Four-digit years in every representable case; the field widens beyond 9999.
  auto two = [](char* p, unsigned v) {
    p[0] = static_cast<char>('0' + v / 10 % 10);
    p[1] = static_cast<char>('0' + v % 10);
  };
  auto r = std::to_chars(buf, buf + 16, y < 0 ? -y : y);
  std::string year(buf, r.ptr);
  if (year.size() < 4) year.insert(0, 4 - year.size(), '0');
  if (y < 0) year.insert(0, 1, '-');
  char rest[16];
  rest[0] = '-';
  two(rest + 1, static_cast<unsigned>(ymd.month()));
  rest[3] = '-';
  two(rest + 4, static_cast<unsigned>(ymd.day()));
  rest[6] = 'T';
  two(rest + 7, static_cast<unsigned>(hms.hours().count()));
  rest[9] = ':';
  two(rest + 10, static_cast<unsigned>(hms.minutes().count()));
  rest[12] = ':';
  two(rest + 13, static_cast<unsigned>(hms.seconds().count()));
  rest[15] = 'Z';
  return year + std::string(rest, 16);
}

}  // namespace tw
