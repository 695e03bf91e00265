// Preparing an area for use without a network: the command, its progress dialog and its end.
#include <QMetaObject>
#include <QProgressDialog>
#include <QtConcurrent/QtConcurrentRun>

#include "app/AppDelegate.h"
#include "tiles/OfflinePlan.h"
#include "tiles/Prefetch.h"

struct AppDelegate::OfflineJob {
  std::atomic<bool> cancel{false};
  QFuture<void> done;
  QPointer<QProgressDialog> dialog;
};

namespace {
const QString kError = QStringLiteral("エラー");
const QString kNotice = QStringLiteral("メッセージ");
}  // namespace

void AppDelegate::prepareOffline()
{
  if (offlineJob || !tileCache || !http()) return;
  if (derived.map_type == tw::MapType::OSM) {
    boxes().alertMessage(kError, QStringLiteral("OpenStreetMapの地図は利用規約によりまとめて保存できません。\n"
                                                "地理院地図を選んでから実行してください。"));
    return;
  }
  const auto area = routes() && !doc.outside ? tw::trackArea(*routes(), tw::kOfflineMarginMetres) : std::nullopt;
  if (!area) return;
  const auto tiles = std::make_shared<std::vector<tw::Tile>>(tw::planOfflineTiles(
      *area, tw::kOfflineMinZoom, tw::kOfflineMaxZoom, derived.map_type, config.intValue(tw::key::dem_mode) == 1));
  if (tiles->size() > tw::kOfflineTileLimit) {
    boxes().alertMessage(kError, QStringLiteral("保存するタイルが%1枚になり、上限の5,000枚を超えます。\n"
                                                "範囲の狭いトラックで実行してください。")
                                     .arg(tiles->size()));
    return;
  }

  auto job = std::make_shared<OfflineJob>();
  offlineJob = job;
  job->dialog = new QProgressDialog(QStringLiteral("オフライン用に地図を保存しています…"), QStringLiteral("キャンセル"), 0,
                                    int(tiles->size()));
  job->dialog->setObjectName(QStringLiteral("offlineProgress"));
  job->dialog->setAttribute(Qt::WA_DeleteOnClose);
  job->dialog->setAutoClose(false);
  job->dialog->setAutoReset(false);
  job->dialog->setMinimumDuration(0);
  connect(job->dialog, &QProgressDialog::canceled, this, [job] { job->cancel = true; });
  job->dialog->show();

  HttpClient* client = http();
  tw::DiskCache* cache = tileCache.get();
  job->done = QtConcurrent::run([this, job, tiles, client, cache] {
    const tw::PrefetchResult r = tw::prefetchTiles(*client, *cache, *tiles, job->cancel, [this, job](std::size_t n, std::size_t) {
      QMetaObject::invokeMethod(this, [job, n] { if (job->dialog) job->dialog->setValue(int(n)); }, Qt::QueuedConnection);
    });
    QMetaObject::invokeMethod(
        this,
        [this, job, r] {
          if (job->dialog) job->dialog->close();
          offlineJob.reset();
          const auto kept = qulonglong(r.fetched + r.kept);
          if (r.unwritable || downloads_stopped) return;  // the cache said so already; or closing
          if (r.cancelled)
            boxes().alertMessage(kNotice, QStringLiteral("保存を中止しました（%1枚保存済み）").arg(kept));
          else if (r.transportError)
            boxes().alertMessage(kError, QStringLiteral("ネットワークの異常が発生しました。\n接続を確認してください。"));
          else
            boxes().alertMessage(kNotice, QStringLiteral("オフライン用に%1枚のタイルを保存しました").arg(kept));
        },
        Qt::QueuedConnection);
  });
}

void AppDelegate::waitForOffline()
{
  if (!offlineJob) return;
  offlineJob->cancel = true;
  offlineJob->done.waitForFinished();
}
