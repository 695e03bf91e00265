#pragma once
// The controller: owns the document, the map state, the caches, the undo history, the
// configuration, the views and panels for the life of the process. Its commands are defined
// in the folder of the subsystem they belong to, each a thin layer over core functions.
//
// Each subsystem has its own section below; state lives in plain structs named for the group.

#include <QObject>
#include <QRecursiveMutex>
#include <QString>
#include <QThreadPool>
#include <memory>

#include "app/HttpClient.h"
#include "app/MessageBoxes.h"
#include "document/DocumentState.h"
#include "document/Geodesy.h"

class AppDelegate : public QObject {
  Q_OBJECT

 public:
  // The seams; the controller does not own them.
  struct Seams {
    MessageBoxes* boxes = nullptr;
    HttpClient* http = nullptr;
  };

  explicit AppDelegate(Seams seams, QObject* parent = nullptr);
  ~AppDelegate() override;

  MessageBoxes& boxes() { return *seams_.boxes; }
  HttpClient* http() { return seams_.http; }

  // The controller's own recursive lock: guards images, requests, elevations, elevations5A
  // and positions, shared with the download workers.
  QRecursiveMutex lock;
  // Background downloads of map and DEM tiles, at most 5 at a time.
  QThreadPool queue;

  // ---- document (src/document) ----
  tw::DocumentState doc;
  std::vector<tw::Track>* routes() { return doc.routes(); }
  void deleteAllTracks() { doc.deleteAllTracks(); }
  void deleteAllWayPoints() { doc.deleteAllWayPoints(); }
  void setFileName(const QString& name);
  QString getFileBaseName() const;
  void updateTitle();

 signals:
  // The main window listens and sets its title.
  void titleChanged(const QString& title);

 private:
  Seams seams_;
};
