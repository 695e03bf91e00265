#pragma once
// HttpClient over QNetworkAccessManager: one blocking GET per call, run from any thread that
// may block (the download workers). Each call has its own manager and event loop, so calls
// from different workers never share Qt objects.

#include "app/HttpClient.h"

class QtHttpClient : public HttpClient {
 public:
  // Bodies above this many bytes are a transport failure (a map or DEM tile is well under 1 MB).
  static constexpr qint64 kDefaultMaxBody = 4 * 1024 * 1024;

  explicit QtHttpClient(qint64 maxBodyBytes = kDefaultMaxBody) : maxBody_(maxBodyBytes) {}
  HttpResult get(const QString& url, int timeoutMs) override;

 private:
  qint64 maxBody_;
};
