#include <gtest/gtest.h>

#include "gui/application.h"
#include "gui_fixture.h"
#include "support/fixture.h"

// The window tests run headless, and their settings and Build backups go to folders of their
// own: all of it is set before Qt or any settings store starts.
int main(int argc, char** argv) {
  static tovarin::fixture::TempDir home;
  tovarin::fixture::KeepPerUserFoldersIn(home);
  qputenv("QT_QPA_PLATFORM", "offscreen");
  tovarin::gui::Application app(argc, argv, [](const std::string& text) {
    tovarin::gui::test::UnexpectedErrors().push_back(text);
  });
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
