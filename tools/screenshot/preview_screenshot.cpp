// tovarin-preview-screenshot FILE: the Preview Build dialog on a fresh example league, saved as a
// PNG picture (the README's docs/preview.png). With QT_QPA_PLATFORM=offscreen it needs no
// display.

#include <QApplication>
#include <QPixmap>
#include <QTreeWidget>
#include <cstdio>

#include "gui/main_frame.h"
#include "gui/preview_dialog.h"
#include "shell/preview.h"
#include "tools/screenshot/example_setup.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "Usage: tovarin-preview-screenshot FILE.png\n");
    return 2;
  }
  tovarin::screenshot::ExampleSetup example("tovarin-preview-screenshot");
  tovarin::gui::CMainFrame frame(example.store);
  frame.StartUp();
  tovarin::PreviewSession session(frame.view());
  session.Refresh();
  tovarin::gui::CPreviewDlg preview(session, &frame);
  preview.resize(preview.width() * 5 / 4, preview.height());
  // The free likely and nickname candidates checked, as a careful user would have them: a near
  // miss may well be someone else.
  QTreeWidget& dropped = *preview.dropped();
  for (int i = 0; i < dropped.topLevelItemCount(); ++i) {
    QTreeWidgetItem* item = dropped.topLevelItem(i);
    const QString candidate = item->text(2);
    const bool sure = candidate.contains(QStringLiteral("(likely)")) ||
                      candidate.contains(QStringLiteral("(nickname)"));
    if (item->data(0, Qt::CheckStateRole).isValid() && sure) {
      item->setCheckState(0, Qt::Checked);
    }
  }
  preview.show();
  app.processEvents();
  const bool saved = preview.grab().save(QString::fromLocal8Bit(argv[1]), "PNG");
  if (!saved) std::fprintf(stderr, "tovarin-preview-screenshot: cannot write %s\n", argv[1]);
  return saved ? 0 : 1;
}
