#pragma once

#include <QDialog>

#include "shell/rename_check_model.h"

class QLabel;
class QListWidget;
class QPushButton;

namespace tovarin::gui {

// Check Rename File: what a Build does with each record of the rename file and what is wrong with
// it: the shell's RenameCheckModel, drawn from the dialog's table. It can be resized; the rows
// scroll sideways, and the selected one is shown whole under them.
class CRenameCheckDlg : public QDialog {
  Q_OBJECT
 public:
  CRenameCheckDlg(const RenameCheckModel& model, QWidget* parent = nullptr);

  QLabel* summary() const { return summary_; }
  // One item a record, each followed by one item a problem.
  QListWidget* rows() const { return rows_; }
  // The selected row's whole text, wrapped.
  QLabel* line() const { return line_; }
  QPushButton* closeButton() const { return close_; }

 private:
  QLabel* summary_ = nullptr;
  QListWidget* rows_ = nullptr;
  QLabel* line_ = nullptr;
  QPushButton* close_ = nullptr;
};

}  // namespace tovarin::gui
