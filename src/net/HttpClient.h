#pragma once
// One blocking GET per call, used from download worker threads.

#include <QByteArray>
#include <QString>

struct HttpResult {
  int status = 0;               // HTTP status; 0 when no answer came
  QByteArray body;
  bool transportError = false;  // connection failed, reset, timed out or body too large
  // Ended by cancel(): says nothing about the network (transportError is set too, so callers
  // that only look at that never take it for an answer).
  bool cancelled = false;
};

class HttpClient {
 public:
  virtual ~HttpClient() = default;
  // Thread-safe: called concurrently from the worker pool.
  virtual HttpResult get(const QString& url, int timeoutMs) = 0;
  // Thread-safe, for shutting down: every call in flight returns at once, cancelled, and so
  // does every later call. Workers then finish without waiting out the network.
  virtual void cancel() = 0;
};
