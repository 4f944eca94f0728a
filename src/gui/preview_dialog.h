#pragma once

#include <QDialog>

#include "transfer/review.h"

class QLabel;
class QPushButton;
class QTreeWidget;

namespace tovarin {
class CTovarinView;
}

namespace tovarin::gui {

// Preview Build: what a Build on the form's setup would carry and drop, and the likely players
// for the dropped ones, which "Add to Rename File" writes into the rename file. It draws the
// shell's PreviewModel and writes nothing else.
class CPreviewDlg : public QDialog {
  Q_OBJECT
 public:
  CPreviewDlg(CTovarinView& view, QWidget* parent = nullptr);

  QLabel* counts() const { return counts_; }
  // One top-level item a target team, its players as children.
  QTreeWidget* teams() const { return teams_; }
  // One item a dropped player: player, source team, best candidate; checkable when the
  // candidate can go into the rename file.
  QTreeWidget* dropped() const { return dropped_; }
  QPushButton* addButton() const { return add_; }
  QPushButton* refreshButton() const { return refresh_; }
  QPushButton* closeButton() const { return close_; }

  // Runs the review again and draws it.
  void Refresh();

 private:
  void AddToRenameFile();

  CTovarinView& view_;
  Review review_;
  QLabel* counts_;
  QTreeWidget* teams_;
  QTreeWidget* dropped_;
  QPushButton* add_;
  QPushButton* refresh_;
  QPushButton* close_;
};

}  // namespace tovarin::gui
