#include <gtest/gtest.h>

#include <QApplication>

#include "support/fixture.h"

// The window tests run headless, and their settings and Build backups go to folders of their
// own: all of it is set before Qt or any settings store starts.
int main(int argc, char** argv) {
  static tovarin::fixture::TempDir home;
  tovarin::fixture::KeepPerUserFoldersIn(home);
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
