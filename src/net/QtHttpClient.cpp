#include "net/QtHttpClient.h"

#include <QEventLoop>
#include <QMetaObject>
#include <QMutexLocker>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QUrl>

#include <algorithm>

namespace {
HttpResult cancelledResult()
{
  HttpResult r;
  r.transportError = true;
  r.cancelled = true;
  return r;
}
}  // namespace

QString QtHttpClient::userAgent() { return QStringLiteral("Tarnwick/" TW_VERSION); }

bool QtHttpClient::enlist(QNetworkReply* reply)
{
  QMutexLocker guard(&mutex_);
  if (cancelled_) return false;
  inFlight_.push_back(reply);
  return true;
}

bool QtHttpClient::discharge(QNetworkReply* reply)
{
  QMutexLocker guard(&mutex_);
  std::erase(inFlight_, reply);
  return cancelled_;
}

void QtHttpClient::cancel()
{
  QMutexLocker guard(&mutex_);
  cancelled_ = true;
  // Posted to each reply's own thread, whose loop is waiting in get(); the reply cannot go
  // away before the event is posted because get() discharges it under this mutex first, and
  // deleting it drops the event.
  for (QNetworkReply* reply : inFlight_)
    QMetaObject::invokeMethod(reply, [reply] { reply->abort(); }, Qt::QueuedConnection);
}

HttpResult QtHttpClient::get(const QString& url, int timeoutMs, const HttpHeaders& headers)
{
  HttpResult result;
  const QUrl target(url);
  if (!target.isValid() || target.scheme().isEmpty()) {
    result.transportError = true;
    return result;
  }

  QNetworkAccessManager manager;
  QNetworkRequest request(target);
  request.setHeader(QNetworkRequest::UserAgentHeader, userAgent());
  request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
  request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
  for (const auto& [name, value] : headers) request.setRawHeader(name, value);

  QEventLoop loop;
  QNetworkReply* reply = manager.get(request);
  if (!enlist(reply)) reply->abort();
  bool tooLarge = false;
  bool timedOut = false;

  QTimer deadline;
  deadline.setSingleShot(true);
  QObject::connect(&deadline, &QTimer::timeout, reply, [&] {
    timedOut = true;
    reply->abort();
  });
  auto checkSize = [&] {
    const QVariant declared = reply->header(QNetworkRequest::ContentLengthHeader);
    if ((declared.isValid() && declared.toLongLong() > maxBody_) || reply->bytesAvailable() > maxBody_) {
      tooLarge = true;
      reply->abort();
    }
  };
  QObject::connect(reply, &QNetworkReply::metaDataChanged, reply, checkSize);
  QObject::connect(reply, &QNetworkReply::readyRead, reply, checkSize);
  QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
  deadline.start(timeoutMs);
  if (!reply->isFinished()) loop.exec();
  deadline.stop();
  if (discharge(reply)) {
    delete reply;
    return cancelledResult();
  }

  const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
  const int code = reply->error();
  // Content (2xx codes) and server (4xx codes) errors are HTTP answers; network (1xx) and
  // protocol (3xx) errors, e.g. a reset in the middle of the body, mean no usable answer.
  const bool networkFailure = (code > 0 && code < 200) || (code >= 300 && code < 400);
  const bool answered = status.isValid() && status.toInt() > 0;
  if (timedOut || tooLarge || !answered || networkFailure) {
    result.transportError = true;
  } else {
    result.status = status.toInt();
    result.headers = reply->rawHeaderPairs();
    result.body = reply->readAll();
    if (result.body.size() > maxBody_) {
      result.body.clear();
      result.status = 0;
      result.transportError = true;
    }
  }
  delete reply;
  return result;
}
