#pragma once
// Installed fonts for the font names the map layers use.

#include <QFont>
#include <QString>

namespace tw {

// "HiraMaruPro-W4" and "HiraKakuProN-W3" → IPAPGothic, "Helvetica" → DejaVu Sans; any other
// name is used as given (the configured label font) with IPAPGothic behind it.
QFont mapFont(const QString& name, double pointSize);

}  // namespace tw
