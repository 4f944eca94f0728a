#pragma once

#include <QDialog>
#include <QRect>
#include <utility>
#include <vector>

class QLabel;
class QListWidget;
class QPushButton;
class QTreeWidget;

namespace tovarin {
class PreviewSession;
}

namespace tovarin::gui {

// Preview Build: draws the shell's PreviewSession from the dialog's table, and hands it the
// checked rows for "Add to Rename File". It can be resized; its lists grow.
class CPreviewDlg : public QDialog {
  Q_OBJECT
 public:
  CPreviewDlg(PreviewSession& preview, QWidget* parent = nullptr);

  QLabel* counts() const { return counts_; }
  // Each team's heading, then its players, indented.
  QListWidget* teams() const { return teams_; }
  // One item a dropped player: player, source team, best candidate; checkable when the
  // candidate can go into the rename file.
  QTreeWidget* dropped() const { return dropped_; }
  QPushButton* addButton() const { return add_; }
  QPushButton* refreshButton() const { return refresh_; }
  QPushButton* closeButton() const { return close_; }

 private:
  void Refresh();
  void Show();
  void AddToRenameFile();

  PreviewSession& preview_;
  QLabel* counts_ = nullptr;
  QListWidget* teams_ = nullptr;
  QTreeWidget* dropped_ = nullptr;
  QPushButton* add_ = nullptr;
  QPushButton* refresh_ = nullptr;
  QPushButton* close_ = nullptr;
};

}  // namespace tovarin::gui
