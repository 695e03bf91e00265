#pragma once
// The controller: owns the document, the map state, the caches, the undo history, the
// configuration, the views and panels for the life of the process. Its commands are defined
// in the folder of the subsystem they belong to, each a thin layer over core functions.
//
// Each subsystem has its own section below; state lives in plain structs named for the group.

#include <QDialog>
#include <QImage>
#include <QObject>
#include <QPointer>
#include <QRecursiveMutex>
#include <QRectF>
#include <QWidget>
#include <QString>
#include <QThreadPool>
#include <QUrl>
#include <atomic>
#include <optional>
#include <functional>
#include <memory>
#include <vector>

#include "app/AppShell.h"
#include "app/ConfigSchema.h"
#include "analysis/InfoFields.h"
#include "analysis/Metrics.h"
#include "analysis/Rests.h"
#include "analysis/TrackStats.h"
#include "app/MessageBoxes.h"
#include "document/DocumentState.h"
#include "document/Geodesy.h"
#include "document/Modes.h"
#include "editing/EditingState.h"
#include "elevation/DemStore.h"
#include "graph/GraphDraw.h"
#include "net/HttpClient.h"
#include "net/WebFetch.h"
#include "tiles/DiskCache.h"
#include "tiles/Tile.h"
#include "tiles/TilePlan.h"
#include "tiles/TileStore.h"
#include "view/InputRules.h"
#include "view/RoutePlan.h"
#include "view/ViewportState.h"
#include "view/ZoomSlider.h"
#include "print/PrintDraw.h"

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

  // The document lock: guards `doc.positions` (the profile samples) for the graph's readers;
  // profile rebuilds, drags on the map and the draw tick's fill hold it. The caches the download
  // workers share have locks of their own (tileStore, demStore), taken inside this one, never
  // the other way round.
  QRecursiveMutex lock;
  // Background downloads of map and DEM tiles, at most 5 at a time.
  QThreadPool queue;

  // ---- document (src/document) ----
  tw::DocumentState doc;
  std::vector<tw::Track>* routes() { return doc.routes(); }
  // Under `lock`: `positions` is shared with the graph's readers.
  void deleteAllTracks()
  {
    QMutexLocker locker(&lock);
    doc.deleteAllTracks();
  }
  void deleteAllWayPoints() { doc.deleteAllWayPoints(); }
  void setFileName(const QString& name);
  QString getFileBaseName() const;
  void updateTitle();
  // ---- end document ----

  // Cross-subsystem operations are declared in their owner's section and defined in its folder.

  // ---- app: configuration, lifecycle, modes, messages (src/app) ----
  // The settings dictionary, keyed by the names in tw::key: config.intValue(tw::key::dem_mode).
  // The display switches live only here (config.isOn(tw::key::show_rest)).
  tw::Config config;
  // Fields refreshed from `config`: colours, list layouts, the list and graph shown and the
  // live map kind `derived.map_type`.
  tw::DerivedConfig derived;
  ConfigStore configStore;     // the settings file; tests point it at a temp folder
  tw::FrameRect screen;        // available area of the main screen at start
  void loadConfig();
  void saveConfig();
  void saveTableStatus();
  // Set by the list view: its visible columns in display order.
  std::function<std::vector<tw::TableColumn>()> visibleTableColumns;

  tw::Mode mode = tw::Mode::Base;
  tw::EditMode edit_mode = tw::EditMode::Input;
  tw::TrackMode track_mode = tw::TrackMode::All;
  int graphTrackInfo = 1;
  int graphWayPoint = 0;
  int part_start = -1, part_end = -1, range_start = -1, range_end = -1, edit_row = -1;
  double span = 1.0;
  bool launched = false;
  MarkerImages markers;  // start_img, end_img, ... loaded from resources at start

  // Lifecycle, driven by the main window (or a test).
  void applicationDidFinishLaunching();
  // Reads the file and hands it to loadGPXData; false when it could not be read.
  bool openFile(const QString& path);
  bool hasUnsavedData() const;
  bool windowShouldClose();
  bool applicationShouldTerminate();
  void windowWillClose();
  void applicationWillTerminate();
  // The main window's frame; set by the window so the frame can be stored on close.
  std::function<tw::FrameRect()> currentFrame;
  // The save command of the close question ("保存する"); a no-op leaves `modify` set.
  std::function<void()> saveCommand;
  void baseMode();
  // Refused with a warning while tracks are hidden; otherwise enters the edit tool that
  // `edit_mode` names (the input tool when there is no active track).
  void editMode();

  // Periodic loop: `timer` every 1 s runs timerProc, `drawTimer` every 0.1 s runs drawProc.
  QTimer timer;
  QTimer drawTimer;
  bool net_status = true;                     // false once a failure run has been reported
  std::atomic<bool> graph_needs_draw{false};  // a DEM tile arrived: the graph view's needsDraw
  void timerProc();
  void drawProc();
  // Draw-loop hook points, defined by the subsystems that own the layers.
  void redrawBasicLayers();
  void redrawMapLayer();
  void checkTrackElevation();
  void checkWayPointElevation();
  void displayLocation();
  void redrawGraphLayers();
  bool isDragged();

  // The transient line of text on the map overlay.
  QString message;
  QTimer messTimer;
  void showMessage(const QString& text, int intervalMs);
  void hideMessage();
  void updateButton();

  // View menu switches: each updates its value in `config` and redraws.
  void showInfo();
  void hideInfo();
  void hideCoord();
  void showCoordDecimal();
  void showCoordDegree();
  void showElevation();
  void showTime();
  void showWayPoint();
  void hideWayPoint();
  void showWayPointWithMark();
  void showWayPointWithName();
  void showPeak();

  // Web pages open in the user's browser (through `openURL` when set).
  void showHelp();
  void showPemblo();  // the GSI web map at the place shown
  void showQuorra();  // OpenTopoMap there
  void showSallow();  // OpenStreetMap there
  // The about box, modal; tests replace it.
  std::function<void()> runAboutPanel;
  void showAbout();
  // Shows the whole active track: the largest zoom at which its extent fits the map.
  void fitTrack();
  // Recently used files (derived.recent_files): noted on open and save, opened from the menu.
  void noteRecentFile(const QString& path);
  void openRecentFile(const QString& path);
  Q_SIGNAL void recentFilesChanged();

 private:
  bool terminated_ = false;  // the configuration is persisted once

 signals:
  // The overlay redraws its information layer.
  void messageChanged(const QString& text);
  // The main window applies a frame (launch).
  void frameRequested(const tw::FrameRect& frame);
  // The tool buttons need laying out and painting for the current mode (updateButton).
  void buttonsChanged();

 public:
  // ---- end app ----

  // ---- gpx: reading and writing (src/gpx) ----
  // The reader: replaces the document with GPX bytes (UTF-8) or appends them; asks first when
  // changes would be lost and reports a broken file itself. False when declined or broken.
  // `keepOnFailure` (downloaded text): text that is broken or holds no track and no waypoint
  // is reported without asking and leaves the document as it was.
  bool loadGPXData(const QByteArray& text, bool append, bool keepOnFailure = false);
  void createNew();
  void loadGPX();     // open command
  void loadAppend();  // append command
  // Writes every waypoint and all tracks (`all`) or the active one; silent on failure.
  bool saveGPXData(const QString& path, bool all);
  void saveGPX();
  void saveSelectTrack();
  bool checkValidTime(const std::vector<tw::Track>& points) const;
  // A dragged path or link the map overlay can take.
  bool acceptableObject(const QString& candidate) const;
  // ---- end gpx ----

  // ---- web import and update notice (src/gpx) ----
  // A route page's or GPX file's link: fetched without blocking the window (a progress dialog
  // with cancel, window-modal), then read on the main thread with `append`; the document
  // changes only when the reader takes the answer. False when the link matches no pattern.
  bool importLink(const QString& link, bool append);
  // The text service's equivalent (a pasted or command-line link): always replaces; text that
  // is no link is ignored.
  void doString(const QString& text);
  bool isImporting() const { return importFetch_ != nullptr; }
  int web_timeout_ms = 60000;                 // a fetch ends when nothing arrived for this long
  qint64 web_max_bytes = qint64(256) << 20;  // larger answers are refused, never held
  // The update notice: asked for once at the end of launch, only when an update root is set.
  void downloadVersion();
  bool ver_latest = true;
  std::optional<QString> ver_message, ver_url;
  // Opens a web page in the browser (http and https only); tests record instead.
  std::function<void(const QUrl&)> openURL;

 private:
  void importFinished(const FetchResult& r, bool append, const QString& name);
  void connectionDidFinishLoading(const FetchResult& r);
  WebFetch* importFetch_ = nullptr;
  WebFetch* connection = nullptr;  // the update notice request
  QPointer<QDialog> importProgress_;  // the window may close first

 public:
  // ---- end web import ----

  // ---- analysis: metrics, statistics, rests (src/analysis) ----
  // Statistics of the active track's measured section by their field names (total_dist,
  // total_up, ..., route_time); `span` mirrors stats.span.
  tw::TrackStats stats;
  bool cycling = false;  // the track information uses the cycling gradient classes
  int graph_type = 0;    // measured section: 0 whole track, 1 part_start..part_end, 2 range_start..range_end
  void recalcDistance();
  void calcSpeed();
  void calcTrackData();
  // Print mode only: the part of the active track on the printed map, outside the graph box.
  void calcTrackRange(const tw::RectF& printPixelRect, const tw::RectF& printPointRect, const tw::RectF& graphRect,
                      bool normal);
  void calcTrackInfo();
  void checkRest();
  void updateGraph();
  // The menu switch of rest marks: flips and stores `show_rest`, refreshes the point table.
  void showRest();
  static int calcDegree(int gradient);
  // The track information dialog: its texts, and its OK (false, after the alert, for a name
  // that cannot be stored; otherwise the rename and time adjustment are applied).
  tw::InfoFields infoFields() const;
  bool applyTrackInfo(const std::string& name, int timeAdjustTag);
  tw::Section measuredSection() const;
  // ---- end analysis ----

  // ---- tiles and elevation (src/tiles, src/elevation) ----
  // Everything the download workers share: the DEM caches, and the map tile cache, requests,
  // needs snapshot and network flag. Only the stores touch their containers.
  tw::DemStore demStore;
  TileStore tileStore{demStore};
  void calcTrackElevation(int track);
  void requestElevation();
  // ---- end tiles and elevation ----

  // ---- tiles: map tile cache and download queue (src/tiles) ----
  // Workers touch nothing of the controller but `tileStore`, `demStore` and the atomics here;
  // they compare with the store's needs snapshot, never the viewport the main thread moves.
  tw::DRect elevRect;  // zoom-14 DEM grid of the visible area (main thread)
  // The current map kind is `derived.map_type` (app section), stored under `map_type`.
  std::atomic<bool> map_needs_draw{false}; // a tile arrived: the next draw tick redraws the map
  bool needsRedraw = false;                // the basic layers need redrawing
  // Quitting or closing: queued downloads are dropped and those in flight cancelled, so the
  // workers end at once whatever the network does; from then on no worker touches the caches
  // or the network flag. The destructor still waits for the (now short) workers.
  void stopDownloads();
  std::atomic<bool> downloads_stopped{false};
  // Tiles kept on disk between runs (map and DEM), read by the workers before any request;
  // its folder comes from TARNWICK_CACHE_DIR or the user's cache folder, its cap from
  // `tile_cache_mb`. Thread-safe on its own.
  std::unique_ptr<tw::DiskCache> tileCache;
  void openTileCache();
  // "オフライン用に地図を保存…": the selected GSI map's tiles of zooms 12–16 and the DEM tiles
  // around the active track go to the disk cache, two requests at a time, with a progress
  // dialog whose cancel stops it. Refused for OpenStreetMap and above 5,000 tiles.
  void prepareOffline();
  struct OfflineJob;
  std::shared_ptr<OfflineJob> offlineJob;  // the preparation running (main thread)
  void waitForOffline();                    // cancels it and waits (shutting down)
  // The last step of updateLocation: plan, evict, sort and enqueue.
  void planTiles();
  // Lists the request and queues one getTile operation (main thread; also requestElevation).
  void addRequest(const tw::Tile& k);
  void getTile(const tw::Tile& k);
  bool downloadImage(const tw::Tile& k);
  // Forwards to the store.
  bool checkNeeds(const tw::Tile& k);
  bool findTile(const tw::Tile& k);
  bool findRequests(const tw::Tile& k);
  bool checkImageRequest();
  void removeRequests(const tw::Tile& k);
  // Eviction with the live grid, zoom, mode and elevRect.
  void removeTiles();
  // Empties the map tile cache (map kind change, print mode start and end).
  void clearImages();
  void mapStandard();
  void mapPale();
  void mapPhoto();
  void mapOSM();
  void changeMap();
  void updateMap();
  // ---- end tiles ----

  // ---- elevation: DEM downloads, lookups and the fill (src/elevation) ----
  // 1 (DEM5A first) only during a recalculation; workers reset both on a transport error.
  std::atomic<int> dem_mode{0};
  std::atomic<bool> elev_recalc{false};
  // The DEM10B fallback question is waiting to be asked or answered; fills pause meanwhile.
  bool dem_question = false;
  // Runs on a queue worker for request kinds 1, 2 and 3 (the tile queue calls it). True when
  // the tile was stored or is no longer needed.
  bool downloadElevation(const tw::Tile& tile);
  // Metres, −1.0 for DEM5A without data, −100.0 when the tile is not cached.
  float getElevation(double lat, double lon);
  float getElevation5A(double lat, double lon);
  // The menu command: choose the DEM, then throw every track elevation away and fetch again.
  void recalcElevation();
  // The DemPanel dialog, modal: 1 OK (dem_mode stored), 0 cancelled. Tests replace it.
  std::function<int()> runDemPanel;
  // Asked after the draw tick that found DEM5A gaps, outside it.
  void askDemFallback();
  // ---- end elevation ----

  // ---- editing: undo, track and point operations (src/editing) ----
  tw::EditingState editing;  // undo history, menu titles, track menus, pop-up state
  // The modal panels, replaceable in tests. WayPointPanel edits the values and answers true
  // on OK; ThinoutPanel answers the requested point count, or nothing when cancelled.
  std::function<bool(tw::WayPointValues&)> runWayPointPanel;
  std::function<std::optional<int>(int points, double total_dist)> runThinoutPanel;
  // Overrides the DEM lookup of new points and waypoints (tests); unset, getElevation is used.
  std::function<float(double lat, double lon)> elevationAt;
  // Clears the graph's selected section when one is shown (graph_type 1); set by the graph.
  std::function<void()> resetGraphSelection;

  void backupData(int action);
  void deleteAllBackups();
  void undo();
  void redo();
  void updateUndoMenu();
  void updateRedoMenu();

  void updateTrackMenu();
  void selectTrack(int index);
  void showActiveTrack();
  void showAllTrack();
  void hideAllTrack();
  void addTrack();
  void deleteTrack();
  void deleteTrackAtIndex(int index);
  void connectTrack(int index);
  // `selectedRows` of the point table; `pointTableShowing` whether it is the table shown.
  void divideTrack(bool pointTableShowing, const std::vector<int>& selectedRows);
  void divideTrack();  // the menu command: the list's own state through selectedListRows
  void reverseRoute();
  void turnBack();
  void stepBack();

  void inputMode();
  void trackMode();
  void wayPointMode();
  bool isInputMode() const { return mode == tw::Mode::Edit && edit_mode == tw::EditMode::Input; }
  bool isTrackMode() const { return mode == tw::Mode::Edit && edit_mode == tw::EditMode::Track; }
  bool isWayPointMode() const { return mode == tw::Mode::Edit && edit_mode == tw::EditMode::WayPoint; }
  // Hit tests at a zoom-18 pixel; `hoverValid` is false for a fast or motionless hover.
  void displayNearPoint(int32_t x, int32_t y, bool hoverValid = true);
  void displayNearWayPoint(int32_t x, int32_t y, bool hoverValid = true);
  void addTrackPoint(float lat, float lon);
  void insertTrackPoint();
  bool deleteTrackPointAtIndex(int index);
  void showPopupButton();
  void hidePopupButton();
  bool checkPopup() const { return editing.pointPopupShown; }
  void selectPopup(int item);  // tw::PointPopupItem
  // One drag event at a map position; `firstEvent` for the first event of a press.
  void dragTrackPoint(double lat, double lon, bool firstEvent);
  void dragWayPoint(double lat, double lon, bool firstEvent);
  void showWayPointButton(double lon, double lat);
  void addWayPoint(double lat, double lon);  // the mouse position
  void createWayPoint();
  void editWayPointAtIndex(int index);
  void editWayPoint();
  void deleteWayPoint();
  bool deleteWayPointAtIndex(int index);
  // Deletes the rows selected in the table showing (`derived.show_list`).
  void deleteSelectedItems(const std::vector<int>& rows);
  void deleteSelectedItems();  // the rows selectedListRows reports
  // The delete keys of the map: the selected point, the last point, the selected waypoint or
  // the selected list rows, by tool.
  void deleteKey();
  void checkConnectWayPoint();
  void moveTrack(int index);
  void moveWayPoint(int index);
  // Centres on the profile sample under graph x (`width` the pointer view's width).
  void movePosition(double x, double width);
  void thinout();
  void douglasPeucker(int target);
  // Undo/redo titles or track menus changed; a pop-up should open (1 point, 2 waypoint); a
  // pop-up was hidden (editing.pointPopupShown / wayPointPopupShown say which stay).
  Q_SIGNAL void editMenusChanged();
  Q_SIGNAL void popupRequested(int kind);
  Q_SIGNAL void popupsHidden();
  // ---- end editing ----

  // ---- view: viewport, layers, labels, overlay (src/view) ----
  tw::ViewportState view;
  tw::ZoomSlider slider;  // the zoom slider's values; ZoomView draws them
  // The map window's layers, set by the window that builds them; null in headless use.
  QWidget* baseView = nullptr;
  class MapView* mapView = nullptr;
  class RouteView* routeView = nullptr;
  class InfoView* infoView = nullptr;
  class ScaleView* scaleView = nullptr;
  class LogoView* logoView = nullptr;
  class ZoomView* zoomView = nullptr;
  QWidget* graphView = nullptr;
  QWidget* pointerView = nullptr;
  // The list pane, for isMouseOnTrack; set by the lists.
  QWidget* listView = nullptr;
  // Rows selected in the list shown; set by the lists.
  std::function<std::vector<int>()> selectedListRows;
  class QVariantAnimation* zoomAnim = nullptr;

  void updatePosition(int zoom, double lat, double lon);
  void updatePixelPosition(int zoom, int x, int y);
  void moveRight();
  void moveLeft();
  void moveUp();
  void moveDown();
  void zoomIn();
  void zoomOut();
  void updateZoom(int n);
  // `p` in window coordinates (y upward), relative to the base view.
  void updateZoomPoint(tw::WindowPoint p, int delta);
  // Scales the old picture about `anchor` (Qt coordinates of the base view) for 0.25 s.
  void zoomAnimation(float scale, QPointF anchor);
  void animationDidStop();
  void moveMapLayer(int x, int y);
  void resetMapPosition(int margin);
  void updateLocation();
  void updateLayer();
  void frameDidChange();
  QSizeF getMapViewSize() const;
  QRectF getZoomViewRect() const;
  // Tool buttons are placed in their slots by BaseView::moveButton, which keeps them there.

  void redrawAllLayers();
  void redrawRouteLayer();
  void redrawScaleLayer();
  void redrawInfoLayer();
  void requestRedraw();

  void showRoute();
  void calcWayPointPosition();
  // What the route layer draws, from the document, the modes and the settings.
  tw::RouteInput routeInput(std::vector<int>& rowsStorage, const std::vector<int>& states) const;

  void displayLocation(double lat, double lon, double elev);
  // Global pixel at the current zoom, (0, 0) when none.
  QPointF getTrackPointer();
  tw::IPoint getNextPointer();
  tw::WindowPoint getMousePoint() const;
  bool isMouseOnMap() const;
  bool isMouseOnTrack() const;
  // Shown for 5000 ms when a zoom step leaves the editing zoom while editing.
  void leaveEditingZoom();
  // Map keys owned elsewhere ("s", "e", "r", "i"): true when handled. Set by their owners.
  std::function<bool(tw::MapKey)> mapKeyHandler;
  // ---- end view ----

  // ---- graph (src/graph) ----
  // The panel (GraphView) and its pointer layer (PointerView) are `graphView`/`pointerView`.
  // The model of what the panel shows (graph_type's section), also for the PNG export and print.
  tw::GraphModel graphModel() const;
  bool graphNeedsDraw = true;  // the profile layer must be redrawn (not only the pointer)
  void showGraphIfNeeded();
  void showGraph();       // the graph button and menu item
  void showGraphRange();  // the range button
  void resetGraph();
  void displayGraphPointer(int index);
  void displayGraphWayPointer(int index);
  void clearGraphPointer();
  // "s"/"e" over the pointer view: the part starts / ends at the sample under the mouse.
  void graphPartKey(bool start);
  // Writes the graph as an 8-bit grey PNG (the save dialog through `boxes()`); false when not.
  bool outputGraph();
  bool writeGraphPNG(const QString& path);
  void showGraphWayPoint();
  void showGraphWithMark();
  void showGraphWithName();
  void showGraphWithAll();
  // The printed graph's information line and waypoints (View menu).
  void toggleGraphTrackInfo();
  void toggleGraphWayPoint();
  // The track information dialog, modal; tests replace it (it gets the dialog to drive).
  void showTrackInfo();
  std::function<void(class InfoPanel&)> runInfoPanel;
  // ---- end graph ----

  // ---- print (src/print) ----
  int print_graph = 0;  // the graph is part of the print (print mode)
  tw::LatLon printPos;  // latitude 0 until the first area mode
  tw::PaperGeometry paper;  // paperSize, paperDistance, printDistance, paperPointRect, printPointRect
  tw::DRect paperPixelRect, printPixelRect;  // global pixels at the print zoom
  tw::DRect paperDispRect, printDispRect;    // on screen (y up) in print mode
  tw::DRect graphRect;                        // printed graph, points inside the printable area
  tw::DRect prevPrintRect, prevGraphRect;     // the last PDF's area, zoom-17 pixels
  bool normal = false, gray = false;
  bool selectArea = false, select_graph = false;
  int selectResize = 0;  // graph handle under the mouse: 1 left, 2 right, 3 top, 4 bottom
  bool init_print = false;
  QImage offscreen;  // the print area's map, composed as tiles arrive
  void areaMode();
  void printMode();
  void releasePrint();
  void pageSetup();  // the setup button
  void outputPDF();
  void printMap();
  void previewMap();
  void updatePrintSize();
  void updatePrintScreen();
  tw::DRect calcPrintRect();
  void calcPrintDispRect();
  bool checkArea();
  // updateLocation in print mode: true when the print tiles were requested already.
  bool printLocationDone();
  // What the sheet's layers read, from the current state.
  tw::PrintSheet printSheet() const;
  QByteArray createPDFData();
  // The map layer in print mode (grey surround, paper, off-screen map) and the route layer's
  // preview of the sheet; the print area over the route layer in area mode.
  void drawPrintMap(QPainter& p, const QSize& size);
  void drawPrintLayers(QPainter& p, const QSize& size);
  void drawPrintArea(QPainter& p, const QSize& size);
  // Area and graph editing from the overlay (window points, y up): true when taken.
  bool printMouseDown(tw::WindowPoint p);
  bool printMouseDragged(tw::WindowPoint p);
  void printMouseMoved(tw::WindowPoint p);
  // One press at a time: where it started, the print or map centre then (map pixels), and the
  // mouse at the last change of the printed graph.
  struct PrintDrag {
    tw::WindowPoint start, last;
    tw::DPoint pixelStart;
  } print_drag;
  bool inGraphPDF(tw::WindowPoint p) const;
  // Modal dialogs, replaceable in tests: the settings dialog (true on OK), the print dialog
  // and preview (given the page drawing).
  std::function<bool()> runSetupPanel;
  std::function<void(bool withPanel)> runPrint;
  // ---- end print ----

  // ---- lists: the point and waypoint lists beside the map (src/lists) ----
  // The pane, a TrackView in the window's splitter (also `listView`); null in headless use.
  class TrackView* trackView = nullptr;
  class QSplitter* splitView = nullptr;
  QTimer subviewTimer;  // respondToSubviewChange, 0.1 s after the last resize
  void toggleTable();
  void showTrackList();
  void showWayPointList();
  void hideTrackView();
  void showTrackView();
  void updateTableColumn();
  void updateTable();
  bool isCollapsedTrackView() const;
  // Before the menus show the list items: a collapsed pane ends the list (layout kept).
  void checkCollapsedTrackView();
  void respondToSubviewChange();
  // The copied text of rows, each as tw::appendTrackLine / appendWayPointLine writes it in the
  // list's layout (saved first).
  std::string copyLines(std::vector<int> rows);
  void copy();  // the Edit menu: the rows selected in the list
  void moveWayPointUp(bool up);
  void moveWayPointKey(bool up);  // refused outside base and edit modes
  void listPartStart();           // "s": the graph part starts at the selected point
  void listPartEnd();             // "e": and ends there
  // Selects `row` of the list shown and scrolls to it, −1 deselects; the map does not move.
  void selectTableRow(int row);
  // What the user does in the list.
  void tableViewSelectionDidChange(int row);
  void tableViewColumnDidResize(int timeWidth);
  bool shouldEditWayPointName(int row);
  bool setWayPointName(int row, const QString& name);
  void endNameEditing();
  void tableDoubleClick(int row);
  // ---- end lists ----

 signals:
  // The main window listens and sets its title.
  void titleChanged(const QString& title);

 private:
  Seams seams_;
};
