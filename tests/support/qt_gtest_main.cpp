// GoogleTest main for tests that need a QApplication; always offscreen.
#include <QApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
  qputenv("QT_QPA_PLATFORM", "offscreen");
  // Never read or write the user's real settings.
  QTemporaryDir configDir;
  qputenv("TARNWICK_CONFIG_DIR", configDir.path().toUtf8());
  // Nor its tile cache (fixtures give each controller a folder of its own).
  QTemporaryDir cacheDir;
  qputenv("TARNWICK_CACHE_DIR", cacheDir.path().toUtf8());
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
