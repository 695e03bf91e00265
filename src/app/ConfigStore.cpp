#include "app/ConfigStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QStringConverter>
#include <cstdio>

namespace {

constexpr auto kConfigGroup = "config";
constexpr auto kTrackTableKey = "track_table";
constexpr auto kWpTableKey = "wp_table";
constexpr auto kRecentFilesKey = tw::key::recent_files.data();

std::vector<std::string> toStdList(const QVariant& v)
{
  std::vector<std::string> out;
  for (const QString& s : v.toStringList()) out.push_back(s.toStdString());
  return out;
}

// Binary junk or a truncated multi-byte sequence means the file is not ours to trust.
bool looksLikeText(const QByteArray& bytes)
{
  if (bytes.contains('\0')) return false;
  auto decoder = QStringDecoder(QStringDecoder::Utf8);
  (void)decoder.decode(bytes);
  return !decoder.hasError();
}

}  // namespace

ConfigStore::ConfigStore(QString path) : path_(std::move(path)) {}

QString ConfigStore::defaultPath()
{
  QString dir = qEnvironmentVariable("TARNWICK_CONFIG_DIR");
  if (dir.isEmpty())
    dir = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/Tarnwick");
  return dir + QStringLiteral("/tarnwick.ini");
}

tw::StoredConfig ConfigStore::read()
{
  damaged_ = false;
  tw::StoredConfig out;
  QFileInfo info(path_);
  if (!info.exists()) return out;
  QFile file(path_);
  if (info.size() > kMaxFileSize || !file.open(QIODevice::ReadOnly)) {
    damaged_ = true;
    return out;
  }
  if (!looksLikeText(file.readAll())) {
    damaged_ = true;
    return out;
  }
  file.close();

  QSettings s(path_, QSettings::IniFormat);
  if (s.status() != QSettings::NoError) {
    damaged_ = true;
    return out;
  }

  s.beginGroup(kConfigGroup);
  const QStringList keys = s.childKeys();
  if (!keys.isEmpty()) {
    std::map<std::string, tw::ConfigValue> dict;
    for (const QString& key : keys) {
      const tw::ConfigKeySpec* rule = tw::findConfigKey(key.toStdString());
      if (!rule) continue;
      const QVariant v = s.value(key);
      // An unquoted value with commas comes back as a list; a rectangle string is one.
      const QString text = v.typeId() == QMetaType::QStringList ? v.toStringList().join(QStringLiteral(", ")) : v.toString();
      if (auto value = tw::decodeConfigValue(rule->kind, text.toStdString())) dict.emplace(key.toStdString(), *value);
    }
    out.config = std::move(dict);
  }
  s.endGroup();
  if (s.contains(kTrackTableKey)) out.track_table = toStdList(s.value(kTrackTableKey));
  if (s.contains(kWpTableKey)) out.wp_table = toStdList(s.value(kWpTableKey));
  if (s.contains(kRecentFilesKey)) out.recent_files = toStdList(s.value(kRecentFilesKey));
  return out;
}

bool ConfigStore::write(const tw::Config& config, const std::vector<std::string>& track_table,
                        const std::vector<std::string>& wp_table, const std::vector<std::string>& recent_files)
{
  QDir().mkpath(QFileInfo(path_).absolutePath());
  const QString temp = path_ + QStringLiteral(".new");
  QFile::remove(temp);
  {
    QSettings s(temp, QSettings::IniFormat);
    s.beginGroup(kConfigGroup);
    for (const auto& [key, value] : config.entries())
      s.setValue(QString::fromStdString(key), QString::fromStdString(tw::encodeConfigValue(value)));
    s.endGroup();
    auto list = [](const std::vector<std::string>& v) {
      QStringList l;
      for (const auto& e : v) l << QString::fromStdString(e);
      return l;
    };
    s.setValue(kTrackTableKey, list(track_table));
    s.setValue(kWpTableKey, list(wp_table));
    // Written only once there is one, so a first run's file stays as it was.
    if (!recent_files.empty()) s.setValue(kRecentFilesKey, list(recent_files));
    s.sync();
    if (s.status() != QSettings::NoError) {
      QFile::remove(temp);
      return false;
    }
  }
  if (damaged_) {
    // Keep what was there for the user to inspect instead of destroying it.
    const QString aside = path_ + QStringLiteral(".damaged");
    QFile::remove(aside);
    QFile::rename(path_, aside);
    damaged_ = false;
  }
  // rename(2) replaces the old file in one step, so a crash never leaves half a file.
  if (std::rename(QFile::encodeName(temp).constData(), QFile::encodeName(path_).constData()) != 0) {
    QFile::remove(temp);
    return false;
  }
  return true;
}
