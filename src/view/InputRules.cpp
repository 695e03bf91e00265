#include "view/InputRules.h"

#include <cmath>
#include <cstdlib>

namespace tw {

bool isClick(WindowPoint down, WindowPoint up)
{
  return std::fabs(up.x - down.x) + std::fabs(up.y - down.y) <= kClickTolerance;
}

bool isValidSelect(WindowPoint prev, WindowPoint now)
{
  const double d = std::fabs(now.x - prev.x) + std::fabs(now.y - prev.y);
  return d > 0 && d < 3;
}

IPoint dragPixel(const DRect& f, WindowPoint mouse)
{
  return {static_cast<int32_t>(f.x + mouse.x), static_cast<int32_t>(f.y + f.height - mouse.y)};
}

IPoint panCentre(IPoint dp, WindowPoint mouse, ViewSize size)
{
  const double x = size.width / 2 + (dp.x - std::floor(mouse.x));
  const double y = (dp.y + std::floor(mouse.y) - size.height) + size.height / 2;
  return {static_cast<int32_t>(x), static_cast<int32_t>(y)};
}

int WheelZoom::onWheel(double deltaY, double now)
{
  if (now - last_scroll < 0.5) return 0;
  int d = static_cast<int>(deltaY);
  if (std::abs(d) >= 2) d /= 2;
  if (d != 0) last_scroll = now;
  return d;
}

void GestureZoom::touchesBegan()
{
  track_pad = true;
  gesture = 0;
  max_delta = 0;
}

int trackpadSteps(int32_t max_delta)
{
  if (max_delta == 0) return 0;
  const int a = std::abs(max_delta);
  int n = static_cast<int>(std::log2(static_cast<double>(a)) - 1);
  if (n < 1) n = 1;
  if (n > 4) n = n + (a - 16) / 10;
  return max_delta < 0 ? -n : n;
}

int GestureZoom::onScroll(double deltaY, double now)
{
  if (now - last_gesture > 1.0 && gesture > 24) gesture = 0;
  last_gesture = now;
  ++gesture;
  const int32_t d = static_cast<int32_t>(deltaY);
  if (std::abs(d) > std::abs(max_delta)) max_delta = d;
  if (gesture == 5) return trackpadSteps(max_delta);
  return 0;
}

int GestureZoom::onMagnify(double magnification)
{
  const bool first = gesture == 0;
  ++gesture;
  if (!first) return 0;
  return magnification > 0 ? 1 : -1;
}

MapKey mapKey(char32_t ch, SpecialKey special)
{
  switch (special) {
    case SpecialKey::Up: return MapKey::MoveUp;
    case SpecialKey::Down: return MapKey::MoveDown;
    case SpecialKey::Left: return MapKey::MoveLeft;
    case SpecialKey::Right: return MapKey::MoveRight;
    case SpecialKey::Backspace:
    case SpecialKey::ForwardDelete: return MapKey::Delete;
    case SpecialKey::None: break;
  }
  switch (ch) {
    case U'+':
    case U';':
    case U'=': return MapKey::ZoomIn;
    case U'-':
    case U'_': return MapKey::ZoomOut;
    case U'a': return MapKey::Insert;
    case U'w': return MapKey::AddWayPoint;
    case U'd':
    case 0x08:
    case 0x7f: return MapKey::Delete;
    case U's': return MapKey::PartStart;
    case U'e': return MapKey::PartEnd;
    case U'r': return MapKey::ResetGraph;
    case U'i': return MapKey::TrackInfo;
    case U't': return MapKey::ChangeMap;
    default: return MapKey::None;
  }
}

}  // namespace tw
