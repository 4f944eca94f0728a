#pragma once

#include <QDialog>

#include "gui/dialog_units.h"

class QComboBox;
class QLabel;
class QPushButton;

namespace tovarin {
class OrgPicker;
}

namespace tovarin::gui {

// The Identify Organization dialog: draws an OrgPicker's two lists and reports the user's
// choices to it. OK and Cancel (also Escape and the close box) end it through the picker.
class CIdentifyOrgDlg : public QDialog {
  Q_OBJECT
 public:
  // `title` names the side being chosen.
  CIdentifyOrgDlg(OrgPicker& picker, const QString& title, QWidget* parent = nullptr);

  QComboBox* dataDiskList() const { return dataDisks_; }
  QComboBox* organizationList() const { return organizations_; }
  QPushButton* okButton() const { return ok_; }
  QPushButton* cancelButton() const { return cancel_; }
  // The note under the buttons when no data disk was found; null otherwise.
  QLabel* note() const { return note_; }

  void accept() override;
  void reject() override;

 private:
  void ShowOrganizations();

  OrgPicker& picker_;
  DialogUnits units_;
  QComboBox* dataDisks_;
  QComboBox* organizations_;
  QPushButton* ok_;
  QPushButton* cancel_;
  QLabel* note_ = nullptr;
};

}  // namespace tovarin::gui
