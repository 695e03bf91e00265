// Controller glue of thinning out.
#include "analysis/Metrics.h"
#include "analysis/Rests.h"
#include "app/AppDelegate.h"
#include "editing/Thinout.h"
#include "editing/ThinoutPanel.h"

void AppDelegate::thinout()
{
  const auto* r = routes();
  if (!r) return;
  if (static_cast<int>(r->size()) < tw::kThinoutMinimumPoints) {
    boxes().alertMessage(QStringLiteral("確認"),
                         QStringLiteral("間引きを行うためには、%1点以上のトラックデータが必要です。").arg(tw::kThinoutMinimumPoints));
    return;
  }
  const int n = static_cast<int>(r->size());
  std::optional<int> points;
  if (runThinoutPanel) {
    points = runThinoutPanel(n, r->back().dist);
  } else {
    ThinoutPanel panel(n, r->back().dist, boxes());
    if (panel.exec() == 1) points = panel.points();
  }
  if (!points) return;
  douglasPeucker(*points);
  if (auto* now = routes()) tw::recalcDistance(*now);
  updateGraph();
}

void AppDelegate::douglasPeucker(int target)
{
  auto* r = routes();
  if (!r || static_cast<int>(r->size()) < target) return;
  backupData(tw::kActionThinout);
  const bool valid_time = doc.activeTrack()->valid_time;
  const auto result = tw::thinoutPoints(*routes(), target, [valid_time](std::vector<tw::Track>& pts) {
    std::vector<int> states;
    tw::checkRest(pts, valid_time, states);
    return states;
  });
  doc.states.clear();
  if (result.changed) doc.modify = true;
}
