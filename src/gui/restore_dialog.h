#pragma once

#include <QDialog>
#include <optional>
#include <vector>

#include "shell/restore_list.h"

class QLabel;
class QPushButton;
class QTreeWidget;

namespace tovarin::gui {

// Restore Build: the kept backups as the shell's model lists them and says what can be taken.
class CRestoreDlg : public QDialog {
  Q_OBJECT
 public:
  CRestoreDlg(const RestoreModel& backups, QWidget* parent = nullptr);

  QTreeWidget* list() const { return list_; }
  QLabel* detail() const { return detail_; }
  QPushButton* restoreButton() const { return restore_; }
  QPushButton* cancelButton() const { return cancel_; }
  // The row the dialog was accepted on.
  std::optional<std::size_t> chosen() const { return chosen_; }

 private:
  std::optional<std::size_t> Selected() const;
  void ShowSelection();
  // Ends the dialog on the selected row: by Restore only when the model offers it.
  void Choose(bool anyRow);

  const RestoreModel& backups_;
  std::optional<std::size_t> chosen_;
  QTreeWidget* list_ = nullptr;
  QLabel* detail_ = nullptr;
  QPushButton* restore_ = nullptr;
  QPushButton* cancel_ = nullptr;
};

}  // namespace tovarin::gui
