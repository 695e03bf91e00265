#include "net/WebFetch.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QUrl>

#include "net/QtHttpClient.h"

WebFetch::WebFetch(QObject* parent) : QObject(parent), manager_(new QNetworkAccessManager(this))
{
  idle_.setSingleShot(true);
  connect(&idle_, &QTimer::timeout, this, [this] { abortWith(FetchResult::Failure::TimedOut); });
}

WebFetch::~WebFetch()
{
  if (!reply_) return;
  disconnect(reply_, nullptr, this, nullptr);
  reply_->abort();
}

bool WebFetch::start(const QString& url, int idleTimeoutMs, qint64 maxBytes)
{
  const QUrl target(url);
  const QString scheme = target.scheme();
  if (reply_ || !target.isValid() || (scheme != QLatin1String("http") && scheme != QLatin1String("https")) ||
      target.host().isEmpty())
    return false;
  QNetworkRequest request(target);
  request.setHeader(QNetworkRequest::UserAgentHeader, QtHttpClient::userAgent());
  request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
  request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
  maxBytes_ = maxBytes;
  body_.clear();
  failure_ = FetchResult::Failure::None;
  reply_ = manager_->get(request);
  connect(reply_, &QNetworkReply::metaDataChanged, this, [this] {
    const QVariant declared = reply_->header(QNetworkRequest::ContentLengthHeader);
    if (declared.isValid() && declared.toLongLong() > maxBytes_) abortWith(FetchResult::Failure::TooLarge);
  });
  connect(reply_, &QNetworkReply::readyRead, this, &WebFetch::readBody);
  connect(reply_, &QNetworkReply::downloadProgress, this, [this](qint64 received, qint64 total) {
    idle_.start();
    emit progress(received, total);
  });
  connect(reply_, &QNetworkReply::finished, this, &WebFetch::done);
  idle_.start(idleTimeoutMs);
  return true;
}

void WebFetch::cancel()
{
  if (reply_) abortWith(FetchResult::Failure::Cancelled);
}

void WebFetch::abortWith(FetchResult::Failure why)
{
  if (!reply_ || failure_ != FetchResult::Failure::None) return;
  failure_ = why;
  body_.clear();
  // Queued: aborting inside one of the reply's own signals upsets some of Qt's reply kinds.
  QMetaObject::invokeMethod(reply_, &QNetworkReply::abort, Qt::QueuedConnection);
}

void WebFetch::readBody()
{
  if (!reply_ || failure_ != FetchResult::Failure::None) return;
  // Taken as it arrives, so the reply never buffers more than one read beyond the bound.
  body_ += reply_->readAll();
  if (body_.size() > maxBytes_) abortWith(FetchResult::Failure::TooLarge);
}

void WebFetch::done()
{
  if (!reply_) return;
  readBody();
  idle_.stop();
  QNetworkReply* reply = reply_;
  reply_ = nullptr;
  FetchResult r;
  r.failure = failure_;
  if (r.failure == FetchResult::Failure::None) {
    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    const int code = reply->error();
    // Content (2xx codes) and server (4xx codes) errors are HTTP answers; network (1xx) and
    // protocol (3xx) errors, e.g. a reset in the middle of the body, leave no usable answer.
    const bool networkFailure = (code > 0 && code < 200) || (code >= 300 && code < 400);
    if (!status.isValid() || status.toInt() <= 0 || networkFailure) {
      r.failure = FetchResult::Failure::Network;
    } else {
      r.status = status.toInt();
      r.body = std::move(body_);
    }
  }
  body_.clear();
  reply->deleteLater();
  emit finished(r);
}
