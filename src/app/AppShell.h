#pragma once
// Types of the application shell the controller holds: marker images and the pieces the
// lifecycle needs (timers, the settings file).

#include <QImage>
#include <QString>
#include <QTimer>
#include <functional>

#include "app/ConfigStore.h"

// Marker bitmaps, loaded once at start from the bundled images of the same names.
// A missing image stays null and its marker is simply not drawn.
struct MarkerImages {
  QImage start_img;      // "start"
  QImage end_img;        // "end"
  QImage rest_img;       // "rest20"
  QImage track_img;      // "white10"
  QImage track15_img;    // "white8"
  QImage active_img;     // "green10"
  QImage active15_img;   // "green8"
  QImage peak_img;       // "orange10"
  QImage peak15_img;     // "orange8"
  QImage col_img;        // "cyan10"
  QImage col15_img;      // "cyan8"
  QImage wp_img;         // "waypoint"
  QImage active_wp_img;  // "active_waypoint"
};

// One bundled image by its product name ("start", "base_on", …); null when there is none.
QImage namedImage(const QString& name);
MarkerImages loadMarkerImages();
