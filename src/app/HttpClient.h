#pragma once
// One blocking GET per call, used from download worker threads.

#include <QByteArray>
#include <QString>

struct HttpResult {
  int status = 0;               // HTTP status; 0 when no answer came
  QByteArray body;
  bool transportError = false;  // connection failed, reset, timed out or body too large
};

class HttpClient {
 public:
  virtual ~HttpClient() = default;
  // Thread-safe: called concurrently from the worker pool.
  virtual HttpResult get(const QString& url, int timeoutMs) = 0;
};
