#include "analysis/InfoFields.h"

#include <chrono>
#include <cstdarg>
#include <cstdio>

#include "analysis/TrackInfoStats.h"

namespace tw {

namespace {

std::string format(const char* fmt, ...)
{
  char buf[128];
  va_list ap;
  va_start(ap, fmt);
  std::vsnprintf(buf, sizeof buf, fmt, ap);
  va_end(ap);
  return buf;
}

std::string rateField(int rate, float km) { return format("%d%% (%4.2fkm)", rate, static_cast<double>(km)); }
std::string elevField(float m) { return format("%2.1fm", static_cast<double>(m)); }
std::string gradientField(int g) { return format("%d%% (%d°)", g, calcDegree(g)); }
std::string clockField(int seconds)
{
  return format("%02d:%02d:%02d", seconds / 3600, seconds % 3600 / 60, seconds % 60);
}
std::string speedField(float kmh)
{
  return kmh > 0.0f ? format("%5.3fkm/h", static_cast<double>(kmh)) : std::string("---");
}

}  // namespace

std::string updownHeaderText(bool cycling)
{
  return cycling ? "登り/下り (緩やか:2%〜, 普通:4%〜, 急:8%〜）" : "登り/下り (緩やか:5%〜, 普通:15%〜, 急:30%〜）";
}

InfoFields formatInfoFields(const TrackStats& s, bool cycling)
{
  InfoFields f;
  const float k = s.total_dist / 1000.0f;
  const float ku = static_cast<float>(s.up_rate) * s.total_dist / 1000.0f / 100.0f;
  const float kd = static_cast<float>(s.down_rate) * s.total_dist / 1000.0f / 100.0f;

  f.distanceField = format("%4.3fkm", static_cast<double>(k));
  f.totalField = format("%4.3fkm", static_cast<double>(s.total_distance / 1000.0f));
  f.peaksField = format("%d個", s.peak_count);
  f.upRateField = rateField(s.up_rate, ku);
  f.flatRateField = rateField(100 - (s.up_rate + s.down_rate), k - ku - kd);
  f.downRateField = rateField(s.down_rate, kd);
  f.totalUpField = elevField(s.total_up);
  f.totalDownField = elevField(s.total_down);
  f.maxDiffField = elevField(s.max_elev - s.min_elev);
  f.maxElevField = elevField(s.max_elev);
  f.minElevField = elevField(s.min_elev);
  f.aveElevField = elevField(s.ave_elev);
  f.aveUpField = gradientField(s.ave_up_gradient);
  f.aveDownField = gradientField(s.ave_down_gradient);
  f.maxGradField = gradientField(s.max_gradient);
  f.minGradField = gradientField(s.min_gradient);

  auto classRow = [](int rate, float kmTotal) { return rateField(rate, static_cast<float>(rate) * kmTotal / 100.0f); };
  f.easyUpField = classRow(s.easy_up_rate, ku);
  f.hardUpField = classRow(s.hard_up_rate, ku);
  f.normalUpField = classRow(ku == 0.0f ? 0 : 100 - (s.easy_up_rate + s.hard_up_rate), ku);
  f.easyDownField = classRow(s.easy_down_rate, kd);
  f.hardDownField = classRow(s.hard_down_rate, kd);
  f.normalDownField = classRow(kd == 0.0f ? 0 : 100 - (s.easy_down_rate + s.hard_down_rate), kd);

  if (s.total_time > 0) f.totalTimeField = clockField(s.total_time);
  f.restTimeField = s.rest_time >= 1 ? clockField(s.rest_time) : "---";
  f.walkTimeField = s.walk_time >= 1 ? clockField(s.walk_time) : "---";
  f.speedField = speedField(s.avg_speed);
  f.upSpeedField = speedField(s.up_avg_speed);
  f.downSpeedField = speedField(s.down_avg_speed);
  f.updownHeader = updownHeaderText(cycling);
  return f;
}

std::vector<std::pair<std::string, std::string>> InfoFields::rows() const
{
  return {
      {"distanceField", distanceField},
      {"totalField", totalField},
      {"peaksField", peaksField},
      {"upRateField", upRateField},
      {"flatRateField", flatRateField},
      {"downRateField", downRateField},
      {"totalUpField", totalUpField},
      {"totalDownField", totalDownField},
      {"maxDiffField", maxDiffField},
      {"maxElevField", maxElevField},
      {"minElevField", minElevField},
      {"aveElevField", aveElevField},
      {"aveUpField", aveUpField},
      {"aveDownField", aveDownField},
      {"maxGradField", maxGradField},
      {"minGradField", minGradField},
      {"updownHeader", updownHeader},
      {"easyUpField", easyUpField},
      {"normalUpField", normalUpField},
      {"hardUpField", hardUpField},
      {"easyDownField", easyDownField},
      {"normalDownField", normalDownField},
      {"hardDownField", hardDownField},
      {"totalTimeField", totalTimeField.value_or("---")},
      {"restTimeField", restTimeField},
      {"walkTimeField", walkTimeField},
      {"speedField", speedField},
      {"upSpeedField", upSpeedField},
      {"downSpeedField", downSpeedField},
  };
}

bool adjustTrackTimes(std::vector<Track>& points, int tag)
{
  if (tag == kTimeKeep) return true;
  const auto nineHours = std::chrono::hours(9);
  for (Track& p : points) {
    if (!p.time) continue;
    if (tag == kTimePlus9h) *p.time += nineHours;
    else if (tag == kTimeMinus9h) *p.time -= nineHours;
    else p.time.reset();
  }
  return tag == kTimePlus9h || tag == kTimeMinus9h;
}

bool isValidTrackName(const std::string& name) { return name.find("]]>") == std::string::npos; }

// Labels of the dialog's rows, in its order.
const char* infoFieldLabel(const std::string& outlet)
{
  static const std::pair<const char*, const char*> kLabels[] = {
      {"distanceField", "距離"},           {"totalField", "沿面距離"},
      {"peaksField", "ピーク数"},          {"upRateField", "登り"},
      {"flatRateField", "平坦"},           {"downRateField", "下り"},
      {"totalUpField", "累積標高差(登り)"}, {"totalDownField", "累積標高差(下り)"},
      {"maxDiffField", "最大標高差"},      {"maxElevField", "最高標高"},
      {"minElevField", "最低標高"},        {"aveElevField", "平均標高"},
      {"aveUpField", "平均勾配(登り)"},    {"aveDownField", "平均勾配(下り)"},
      {"maxGradField", "最大勾配(登り)"},  {"minGradField", "最大勾配(下り)"},
      {"updownHeader", "勾配区分"},        {"easyUpField", "緩やかな登り"},
      {"normalUpField", "普通の登り"},     {"hardUpField", "急な登り"},
      {"easyDownField", "緩やかな下り"},   {"normalDownField", "普通の下り"},
      {"hardDownField", "急な下り"},       {"totalTimeField", "合計時間"},
      {"restTimeField", "休憩時間"},       {"walkTimeField", "行動時間"},
      {"speedField", "平均速度"},          {"upSpeedField", "平均速度(登り)"},
      {"downSpeedField", "平均速度(下り)"},
  };
  for (const auto& [name, label] : kLabels) {
    if (outlet == name) return label;
  }
  return outlet.c_str();
}

}  // namespace tw
