#pragma once

#include <QDialog>

class QPushButton;

namespace tovarin::gui {

// The About box: the icon, the version line, the credit line and OK.
class CAboutDlg : public QDialog {
  Q_OBJECT
 public:
  explicit CAboutDlg(QWidget* parent = nullptr);

  QPushButton* okButton() const { return ok_; }

 private:
  QPushButton* ok_;
};

// The application's icon.
QIcon AppIcon();

// "Tovarin Version " and the version.
QString VersionLine();

}  // namespace tovarin::gui
