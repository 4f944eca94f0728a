#include <gtest/gtest.h>

#include <QApplication>

#include "support/fixture.h"

// The window tests run headless, and their settings and Build backups go to folders of their
// own: all of it is set before Qt or any settings store starts.
int main(int argc, char** argv) {
  static tovarin::fixture::TempDir home;
  const std::string config = home.MakeDir("config");
  const std::string data = home.MakeDir("data");
#ifdef _WIN32
  qputenv("LOCALAPPDATA", QByteArray::fromStdString(data));
#endif
  qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(config));
  qputenv("XDG_DATA_HOME", QByteArray::fromStdString(data));
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
