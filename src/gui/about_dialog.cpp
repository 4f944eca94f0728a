#include "gui/about_dialog.h"

#include <QIcon>
#include <QLabel>
#include <QPushButton>

#include "gui/dialog_units.h"
#include "tovarin_version.h"

namespace tovarin::gui {

QIcon AppIcon() { return QIcon(QStringLiteral(":/tovarin.png")); }

QString VersionLine() { return QStringLiteral("Tovarin Version " TOVARIN_VERSION); }

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
  setFont(DialogFont());
  const DialogUnits units(font());
  setWindowTitle(QStringLiteral("About Tovarin"));
  setFixedSize(units.X(235), units.Y(55));

  auto* icon = new QLabel(this);
  icon->setPixmap(AppIcon().pixmap(32, 32));
  icon->setGeometry(units.X(11), units.Y(17), 32, 32);

  auto* version = new QLabel(VersionLine(), this);
  version->setGeometry(units.Rect(40, 10, 130, 8));
  auto* credit = new QLabel(QStringLiteral("Roster carrier by Didozuza"), this);
  credit->setGeometry(units.Rect(40, 25, 130, 8));

  ok_ = new QPushButton(QStringLiteral("OK"), this);
  ok_->setGeometry(units.Rect(178, 7, 50, 14));
  ok_->setDefault(true);
  connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
}

}  // namespace tovarin::gui
