#pragma once

#include <QWidget>
#include <array>
#include <vector>

#include "gui/dialog_units.h"
#include "shell/form_layout.h"
#include "shell/view_interfaces.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tovarin {
class CTovarinView;
}

namespace tovarin::gui {

class ListBox;

// The form's controls, laid out in dialog units of the form's font. It only shows what
// CTovarinView tells it and passes the user's commands on; it holds no state of its own.
class CTovarinForm : public QWidget, public FormControls {
  Q_OBJECT
 public:
  struct Controls {
    QGroupBox* organizationFrame;
    QPushButton* targetOrganization;  // 1013
    QLineEdit* targetOrgPath;         // 1015
    QPushButton* sourceOrganization;  // 1014
    QLineEdit* sourceOrgPath;         // 1016
    QPushButton* renameFile;          // 1017
    QLineEdit* renamePath;            // 1018
    QCheckBox* useFarm;               // 1019
    QGroupBox* buttonFrame;
    QPushButton* build;    // 1001
    QPushButton* match;    // 1009
    QPushButton* unmatch;  // 1010
    QPushButton* reset;    // 1011
    QPushButton* cancel;   // 1000
    QGroupBox* listFrame;
    QLabel* targetHeading;
    QLineEdit* targetLabel;  // 1022
    QLabel* sourceTeamHeading;
    ListBox* targetList;  // 1020
    QLabel* sourceHeading;
    QLineEdit* sourceLabel;  // 1023
    ListBox* sourceList;     // 1021
  };

  explicit CTovarinForm(QWidget* parent = nullptr);
  // Stops following the focus first: the controls going with the form move it.
  ~CTovarinForm() override;

  // Routes the controls' commands to `view`, which must outlive the form's use.
  void Attach(CTovarinView& view);

  const Controls& controls() const { return c_; }
  const DialogUnits& units() const { return units_; }
  // The controls that take the focus, in the order the Tab key visits them.
  std::vector<QWidget*> TabOrder() const;

  void SetRenamePath(const std::string& text) override;
  void SetSourceOrgPath(const std::string& text) override;
  void SetTargetOrgPath(const std::string& text) override;
  void SetUseFarm(int checked) override;
  void SetSourceLabel(const std::string& text) override;
  void SetTargetLabel(const std::string& text) override;
  void ShowLists(const ListBoxModel& target, const ListBoxModel& source) override;

 signals:
  // The form's Cancel button: the program is to end.
  void closeRequested();

 protected:
  // Enter presses the focused button, or else the default button, as in a dialog.
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QWidget* MakeControl(const layout::DialogControl& control);
  QPushButton* MakeButton(const char* text, QRect rect);
  QLineEdit* MakeEdit(QRect rect);
  QLabel* MakeHeading(const char* text, QRect rect);
  QGroupBox* MakeFrame(QRect rect);
  void ShowList(ListBox& list, const ListBoxModel& model);

  DialogUnits units_;
  std::array<QWidget*, layout::kFormItemCount> widgets_{};  // in the table's order
  Controls c_{};
  CTovarinView* view_ = nullptr;
  QMetaObject::Connection followFocus_;
};

}  // namespace tovarin::gui
