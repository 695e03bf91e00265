#pragma once
// HttpClient over QNetworkAccessManager: one blocking GET per call, run from any thread that
// may block (the download workers). Each call has its own manager and event loop, so calls
// from different workers never share Qt objects; cancel() reaches them through their loops.

#include <QMutex>
#include <vector>

#include "net/HttpClient.h"

class QNetworkReply;

class QtHttpClient : public HttpClient {
 public:
  // Bodies above this many bytes are a transport failure (a map or DEM tile is well under 1 MB).
  static constexpr qint64 kDefaultMaxBody = 4 * 1024 * 1024;

  explicit QtHttpClient(qint64 maxBodyBytes = kDefaultMaxBody) : maxBody_(maxBodyBytes) {}
  using HttpClient::get;
  HttpResult get(const QString& url, int timeoutMs, const HttpHeaders& headers) override;
  void cancel() override;

  // "Tarnwick/<version>", sent with every request (the OpenStreetMap tile policy asks for it).
  static QString userAgent();

 private:
  // False once cancelled: the reply is then aborted by its own thread right away.
  bool enlist(QNetworkReply* reply);
  // True when the call was cancelled while it ran.
  bool discharge(QNetworkReply* reply);

  qint64 maxBody_;
  QMutex mutex_;
  bool cancelled_ = false;                // guarded by mutex_
  std::vector<QNetworkReply*> inFlight_;  // guarded by mutex_; each lives on its caller's thread
};
