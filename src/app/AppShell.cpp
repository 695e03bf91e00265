#include "app/AppShell.h"

static void initBundledImages() { Q_INIT_RESOURCE(tarnwick); }

QImage namedImage(const QString& name)
{
  // The images live in the static app library; make sure its resource table is registered.
  static const bool registered = (initBundledImages(), true);
  (void)registered;
  return QImage(QStringLiteral(":/images/%1.png").arg(name));
}

MarkerImages loadMarkerImages()
{
  MarkerImages m;
  m.start_img = namedImage(QStringLiteral("start"));
  m.end_img = namedImage(QStringLiteral("end"));
  m.rest_img = namedImage(QStringLiteral("rest20"));
  m.track_img = namedImage(QStringLiteral("white10"));
  m.track15_img = namedImage(QStringLiteral("white8"));
  m.active_img = namedImage(QStringLiteral("green10"));
  m.active15_img = namedImage(QStringLiteral("green8"));
  m.peak_img = namedImage(QStringLiteral("orange10"));
  m.peak15_img = namedImage(QStringLiteral("orange8"));
  m.col_img = namedImage(QStringLiteral("cyan10"));
  m.col15_img = namedImage(QStringLiteral("cyan8"));
  m.wp_img = namedImage(QStringLiteral("waypoint"));
  m.active_wp_img = namedImage(QStringLiteral("active_waypoint"));
  return m;
}
