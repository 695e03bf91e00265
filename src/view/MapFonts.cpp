#include "view/MapFonts.h"

#include <QStringList>
#include <algorithm>

namespace tw {

QFont mapFont(const QString& name, double pointSize)
{
  QString family = name;
  if (name.startsWith(QLatin1String("Hira"))) family = QStringLiteral("IPAPGothic");
  if (name == QLatin1String("Helvetica")) family = QStringLiteral("DejaVu Sans");
  QFont f;
  f.setFamilies({family, QStringLiteral("IPAPGothic")});
  // Points of the map's drawing space are pixels on screen.
  f.setPixelSize(std::max(1, static_cast<int>(pointSize)));
  return f;
}

}  // namespace tw
