#include "app/LaunchOptions.h"

#include <charconv>

namespace {

bool parseInt(const std::string& s, int& out, int min, int max)
{
  int v = 0;
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  if (ec != std::errc() || end != s.data() + s.size() || v < min || v > max) return false;
  out = v;
  return true;
}

}  // namespace

std::optional<LaunchOptions> parseLaunchOptions(const std::vector<std::string>& args, std::string& error)
{
  LaunchOptions o;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto value = [&]() -> const std::string* {
      if (i + 1 >= args.size()) {
        error = a + " needs a value";
        return nullptr;
      }
      return &args[++i];
    };
    if (a == "--screenshot") {
      const std::string* v = value();
      if (!v) return std::nullopt;
      o.screenshot = *v;
    } else if (a == "--size") {
      const std::string* v = value();
      if (!v) return std::nullopt;
      const size_t x = v->find('x');
      if (x == std::string::npos || !parseInt(v->substr(0, x), o.width, 100, 10000) ||
          !parseInt(v->substr(x + 1), o.height, 100, 10000)) {
        error = "bad --size " + *v + " (expected WxH, 100 to 10000 each)";
        return std::nullopt;
      }
    } else if (a == "--wait-ms") {
      const std::string* v = value();
      if (!v) return std::nullopt;
      if (!parseInt(*v, o.waitMs, 0, 600000)) {
        error = "bad --wait-ms " + *v;
        return std::nullopt;
      }
    } else if (a.size() > 1 && a[0] == '-' && a != "-") {
      error = "unknown option " + a;
      return std::nullopt;
    } else if (o.file.empty() && o.link.empty()) {
      (a.starts_with("http://") || a.starts_with("https://") ? o.link : o.file) = a;
    } else {
      error = "only one file or link can be opened";
      return std::nullopt;
    }
  }
  return o;
}
