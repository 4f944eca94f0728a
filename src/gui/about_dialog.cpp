#include "gui/about_dialog.h"

#include <QIcon>
#include <QLabel>
#include <QPushButton>

#include "gui/dialog_units.h"
#include "shell/form_layout.h"

namespace tovarin::gui {

QIcon AppIcon() { return QIcon(QStringLiteral(":/tovarin.png")); }

QString VersionLine() { return QString::fromLatin1(layout::VersionLine()); }

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
  setFont(DialogFont());
  const DialogUnits units(font());
  const layout::DialogLayout& about = layout::AboutBox();
  setWindowTitle(QString::fromLatin1(about.title));
  setFixedSize(units.X(about.width), units.Y(about.height));

  for (const layout::DialogControl& control : about.controls) {
    const layout::DialogRect& r = control.rect;
    switch (control.kind) {
      case layout::ControlKind::kIcon: {
        auto* icon = new QLabel(this);
        icon->setPixmap(AppIcon().pixmap(32, 32));
        icon->setGeometry(units.X(r.x), units.Y(r.y), 32, 32);
        break;
      }
      case layout::ControlKind::kDefaultButton:
        ok_ = new QPushButton(QString::fromLatin1(control.text), this);
        ok_->setGeometry(units.Rect(r.x, r.y, r.width, r.height));
        ok_->setDefault(true);
        connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
        break;
      default: {
        auto* text = new QLabel(QString::fromLatin1(control.text), this);
        text->setGeometry(units.Rect(r.x, r.y, r.width, r.height));
        break;
      }
    }
  }
}

}  // namespace tovarin::gui
