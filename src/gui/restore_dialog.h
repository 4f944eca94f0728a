#pragma once

#include <QDialog>
#include <optional>
#include <vector>

#include "shell/restore_list.h"

class QLabel;
class QPushButton;
class QTreeWidget;

namespace tovarin::gui {

// Restore Build: the kept backups, newest first, as the shell lists them. Restore (also a
// double-click) takes the selected one; a damaged one is shown, with why, but not taken.
class CRestoreDlg : public QDialog {
  Q_OBJECT
 public:
  CRestoreDlg(const std::vector<RestoreRow>& rows, QWidget* parent = nullptr);

  QTreeWidget* list() const { return list_; }
  QLabel* detail() const { return detail_; }
  QPushButton* restoreButton() const { return restore_; }
  QPushButton* cancelButton() const { return cancel_; }
  // The selected row, when it can be put back.
  std::optional<std::size_t> chosen() const;

  void accept() override;

 private:
  void ShowSelection();

  const std::vector<RestoreRow>& rows_;
  QTreeWidget* list_ = nullptr;
  QLabel* detail_ = nullptr;
  QPushButton* restore_ = nullptr;
  QPushButton* cancel_ = nullptr;
};

}  // namespace tovarin::gui
