// tovarin-window-screenshot FILE: the main window on a fresh example league, saved as a PNG
// picture (the README's docs/screenshot.png; with QT_SCALE_FACTOR=1.5, its 150% twin). With
// QT_QPA_PLATFORM=offscreen it needs no display.

#include <QApplication>
#include <QPixmap>
#include <cstdio>

#include "gui/main_frame.h"
#include "tools/screenshot/example_setup.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "Usage: tovarin-window-screenshot FILE.png\n");
    return 2;
  }
  tovarin::screenshot::ExampleSetup example("tovarin-window-screenshot");
  tovarin::gui::CMainFrame frame(example.store);
  frame.StartUp();
  frame.show();
  app.processEvents();
  const bool saved = frame.grab().save(QString::fromLocal8Bit(argv[1]), "PNG");
  if (!saved) std::fprintf(stderr, "tovarin-window-screenshot: cannot write %s\n", argv[1]);
  return saved ? 0 : 1;
}
