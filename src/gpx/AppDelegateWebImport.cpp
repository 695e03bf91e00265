// The controller's web route import (drop, paste, command line) and the update notice.
#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <climits>

#include "app/AppDelegate.h"
#include "gpx/LinkPatterns.h"
#include "gpx/UpdateNotice.h"
#include "gpx/WebHosts.h"

namespace {

const QString kReadErrorTitle = QStringLiteral("読み込みエラー");
const QString kConnectFailed = QStringLiteral("サイトへの接続に失敗しました");
const QString kMessageTitle = QStringLiteral("メッセージ");
const QString kProgressText = QStringLiteral("GPXデータをダウンロードしています…");
const QString kCancel = QStringLiteral("キャンセル");

constexpr int kNoticeTimeoutMs = 60000;
// A fast answer never flashes a dialog.
constexpr int kProgressDelayMs = 400;

// The dialog shown while a link is fetched: a bar (busy while the size is unknown) and
// "キャンセル". Window-modal, so the document cannot change under the import; the window still
// paints. Updating it never runs the event loop (QProgressDialog does, when modal).
QDialog* makeProgressDialog(QWidget* parent, WebFetch* fetch)
{
  auto* dialog = new QDialog(parent);
  dialog->setObjectName(QStringLiteral("webImportProgress"));
  dialog->setWindowTitle(QStringLiteral("Tarnwick"));
  dialog->setWindowModality(Qt::WindowModal);
  auto* layout = new QVBoxLayout(dialog);
  layout->addWidget(new QLabel(kProgressText, dialog));
  auto* bar = new QProgressBar(dialog);
  bar->setRange(0, 0);
  layout->addWidget(bar);
  auto* cancel = new QPushButton(kCancel, dialog);
  layout->addWidget(cancel, 0, Qt::AlignRight);
  QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
  // Escape and the window's close button reject as well.
  QObject::connect(dialog, &QDialog::rejected, fetch, &WebFetch::cancel);
  QObject::connect(fetch, &WebFetch::progress, bar, [bar](qint64 received, qint64 total) {
    if (total <= 0) return;
    bar->setRange(0, int(std::min<qint64>(total / 1024 + 1, INT_MAX)));
    bar->setValue(int(std::min<qint64>(received / 1024, INT_MAX)));
  });
  QTimer::singleShot(kProgressDelayMs, dialog, [dialog] { dialog->show(); });
  return dialog;
}

bool isWebPage(const QUrl& url)
{
  return url.isValid() && !url.host().isEmpty() &&
         (url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https"));
}

}  // namespace

bool AppDelegate::importLink(const QString& link, bool append)
{
  const auto web = tw::webLink(link.toStdString());
  if (!web) return false;
  if (importFetch_) return true;  // one at a time (the window is blocked meanwhile)
  auto* fetch = new WebFetch(this);
  if (!fetch->start(QString::fromStdString(web->address), web_timeout_ms, web_max_bytes)) {
    delete fetch;
    boxes().alertMessage(kReadErrorTitle, kConnectFailed);
    return true;
  }
  importFetch_ = fetch;
  const QString name = QString::fromStdString(web->name);
  connect(fetch, &WebFetch::finished, this, [this, append, name](const FetchResult& r) { importFinished(r, append, name); });
  if (qobject_cast<QApplication*>(QCoreApplication::instance()))
    importProgress_ = makeProgressDialog(baseView ? baseView->window() : nullptr, fetch);
  return true;
}

void AppDelegate::importFinished(const FetchResult& r, bool append, const QString& name)
{
  importFetch_->deleteLater();
  importFetch_ = nullptr;
  if (importProgress_) {
    importProgress_->hide();
    importProgress_->deleteLater();  // it may be what cancelled
    importProgress_ = nullptr;
  }
  if (r.failure == FetchResult::Failure::Cancelled) return;
  // Nothing usable came: the document stays as it was.
  if (!r.ok() || r.status >= 400 || r.body.isEmpty()) {
    boxes().alertMessage(kReadErrorTitle, kConnectFailed);
    return;
  }
  if (loadGPXData(r.body, append, true)) {
    setFileName(name);
    requestElevation();
  }
}

void AppDelegate::doString(const QString& text) { importLink(text.trimmed(), false); }

// ---- update notice ----

void AppDelegate::downloadVersion()
{
  const std::string base = tw::updateBase(config.stringValue(tw::key::update_base));
  if (base.empty() || connection) return;
  auto* fetch = new WebFetch(this);
  if (!fetch->start(QString::fromStdString(tw::updateNoticeUrl(base)), kNoticeTimeoutMs,
                    qint64(tw::kMaxUpdateNoticeBytes))) {
    delete fetch;
    boxes().alertMessage(kReadErrorTitle, kConnectFailed);
    return;
  }
  connection = fetch;
  connect(fetch, &WebFetch::finished, this, &AppDelegate::connectionDidFinishLoading);
}

void AppDelegate::connectionDidFinishLoading(const FetchResult& r)
{
  connection->deleteLater();
  connection = nullptr;
  // Failures, error pages and anything that is no notice pass silently.
  if (!r.ok() || r.status < 200 || r.status >= 300) return;
  const auto notice = tw::parseUpdateNotice(std::string_view(r.body.constData(), size_t(r.body.size())));
  if (!notice) return;
  if (notice->latest) ver_latest = *notice->latest;
  if (notice->message) ver_message = QString::fromStdString(*notice->message);
  if (notice->url) ver_url = QString::fromStdString(*notice->url);
  if (!ver_message || ver_message->isEmpty()) return;
  boxes().alertMessage(kMessageTitle, *ver_message);
  if (!ver_url || ver_url->isEmpty()) return;
  // The address comes from the network: only web pages are handed to the desktop.
  const QUrl url(ver_url->trimmed());
  if (!isWebPage(url)) return;
  if (openURL)
    openURL(url);
  else
    QDesktopServices::openUrl(url);
}
