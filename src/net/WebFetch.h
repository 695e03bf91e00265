#pragma once
// One GET run on the thread that owns the object (the main thread), without blocking it: the
// answer arrives through `finished`, progress through `progress`, and `cancel` ends it. For
// the web route import and the update notice; tile workers use the blocking HttpClient.

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>

class QNetworkAccessManager;
class QNetworkReply;

struct FetchResult {
  enum class Failure {
    None,       // an HTTP answer: see status and body
    Network,    // no answer, connection reset or refused, broken protocol
    TimedOut,   // nothing arrived for the idle time-out
    TooLarge,   // the body was (or was declared) larger than the bound
    Cancelled,  // cancel() or the owner went away
  };
  Failure failure = Failure::None;
  int status = 0;  // HTTP status when failure is None
  QByteArray body;
  bool ok() const { return failure == Failure::None; }
};

class WebFetch : public QObject {
  Q_OBJECT
 public:
  explicit WebFetch(QObject* parent = nullptr);
  ~WebFetch() override;  // an unfinished fetch is dropped without a signal

  // Starts the GET; false (nothing started, no signal) when `url` is not an http or https
  // address or a fetch is already running. The time-out counts from the last byte received,
  // as a stalled connection does; bodies beyond `maxBytes` are never held.
  bool start(const QString& url, int idleTimeoutMs, qint64 maxBytes);
  // Ends a running fetch; `finished` follows with Failure::Cancelled.
  void cancel();
  bool running() const { return reply_ != nullptr; }

 signals:
  // Bytes received so far and the declared total (−1 when unknown).
  void progress(qint64 received, qint64 total);
  // Exactly once per started fetch.
  void finished(const FetchResult& result);

 private:
  void abortWith(FetchResult::Failure why);
  void readBody();
  void done();

  QNetworkAccessManager* manager_;
  QNetworkReply* reply_ = nullptr;
  QTimer idle_;
  qint64 maxBytes_ = 0;
  QByteArray body_;
  FetchResult::Failure failure_ = FetchResult::Failure::None;
};
