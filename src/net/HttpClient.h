#pragma once
// One blocking GET per call, used from download worker threads.

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

// Header name and value pairs, names as sent.
using HttpHeaders = QList<QPair<QByteArray, QByteArray>>;

struct HttpResult {
  int status = 0;               // HTTP status; 0 when no answer came
  QByteArray body;
  bool transportError = false;  // connection failed, reset, timed out or body too large
  // Ended by cancel(): says nothing about the network (transportError is set too, so callers
  // that only look at that never take it for an answer).
  bool cancelled = false;
  HttpHeaders headers;  // of the answer

  // The value of header `name` (any case); empty when absent.
  QByteArray header(const QByteArray& name) const
  {
    for (const auto& [n, v] : headers)
      if (n.compare(name, Qt::CaseInsensitive) == 0) return v;
    return {};
  }
};

class HttpClient {
 public:
  virtual ~HttpClient() = default;
  // Thread-safe: called concurrently from the worker pool.
  // `headers` are sent beside the client's own (e.g. If-None-Match for a revalidation).
  virtual HttpResult get(const QString& url, int timeoutMs, const HttpHeaders& headers) = 0;
  HttpResult get(const QString& url, int timeoutMs) { return get(url, timeoutMs, {}); }
  // Thread-safe, for shutting down: every call in flight returns at once, cancelled, and so
  // does every later call. Workers then finish without waiting out the network.
  virtual void cancel() = 0;
};
