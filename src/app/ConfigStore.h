#pragma once
// The settings file: an INI file read and written through QSettings.
// A missing, unreadable or damaged file reads as a first run; writing replaces the file
// atomically and keeps a damaged one aside instead of silently destroying it.

#include <QString>
#include <string>
#include <vector>

#include "app/ConfigSchema.h"

class ConfigStore {
 public:
  // Larger files are not settings files of ours.
  static constexpr qint64 kMaxFileSize = 1 << 20;

  explicit ConfigStore(QString path = defaultPath());

  // $TARNWICK_CONFIG_DIR/tarnwick.ini, else <user config folder>/Tarnwick/tarnwick.ini.
  static QString defaultPath();
  const QString& path() const { return path_; }

  tw::StoredConfig read();
  // False when the file could not be written; the previous file is then left untouched.
  bool write(const tw::Config& config, const std::vector<std::string>& track_table,
             const std::vector<std::string>& wp_table, const std::vector<std::string>& recent_files = {});

  // Set by read() when a file existed but could not be used.
  bool damaged() const { return damaged_; }

 private:
  QString path_;
  bool damaged_ = false;
};
