#include "gui/org_dialog.h"

#include <algorithm>

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>

#include "gui/control_names.h"
#include "gui/path_text.h"
#include "shell/form_layout.h"
#include "shell/org_location.h"

namespace tovarin::gui {
namespace {

void Fill(QComboBox& list, const std::vector<std::string>& entries, int selection) {
  const QSignalBlocker blocker(list);
  list.clear();
  for (const std::string& entry : entries) list.addItem(PathText(entry));
  list.setCurrentIndex(selection);
}

}  // namespace

CIdentifyOrgDlg::CIdentifyOrgDlg(OrgPicker& picker, const QString& title, QWidget* parent)
    : QDialog(parent), picker_(picker), units_(DialogFont()) {
  setFont(DialogFont());
  const layout::DialogLayout& dialog =
      layout::IdentifyOrganizationDialog(!picker_.note().empty());
  setWindowTitle(title);
  setFixedSize(units_.X(dialog.width), units_.Y(dialog.height));

  int labelHeight = 0;
  QLabel* label = nullptr;  // the last one, which names the list after it
  for (const layout::DialogControl& control : dialog.controls) {
    const layout::DialogRect& r = control.rect;
    const QString text = QString::fromLatin1(control.text);
    switch (control.kind) {
      case layout::ControlKind::kLabel: {
        auto* l = new QLabel(text, this);
        QRect rect = units_.Rect(r.x, r.y, r.width, r.height);
        // Right-aligned against its list: a wider font grows the label to the left.
        rect.setLeft(
            std::max(0, rect.right() + 1 - std::max(rect.width(), l->sizeHint().width())));
        l->setGeometry(rect);
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        labelHeight = r.height;
        label = l;
        break;
      }
      case layout::ControlKind::kDropDownList: {
        auto* combo = new QComboBox(this);
        combo->setEditable(false);
        // The table gives the dropped-down size; the closed list is as tall as the style draws
        // it, centred on its label's row.
        const QRect rect = units_.Rect(r.x, r.y, r.width, labelHeight);
        const int height = std::max(rect.height(), combo->sizeHint().height());
        combo->setGeometry(rect.x(), rect.center().y() - height / 2, rect.width(), height);
        (control.id == layout::id::kDataDiskList ? dataDisks_ : organizations_) = combo;
        NameControl(*combo, dialog, control.id);
        if (label) label->setBuddy(combo);
        break;
      }
      case layout::ControlKind::kText:
        note_ = new QLabel(PathText(picker_.note()), this);
        note_->setGeometry(units_.Rect(r.x, r.y, r.width, r.height));
        note_->setWordWrap(true);
        note_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        break;
      default: {
        auto* button = new QPushButton(text, this);
        button->setGeometry(units_.Rect(r.x, r.y, r.width, r.height));
        button->setDefault(control.kind == layout::ControlKind::kDefaultButton);
        button->setAutoDefault(false);
        (control.id == layout::id::kOk ? ok_ : cancel_) = button;
        break;
      }
    }
  }

  ShowFocusAlways(*this);

  Fill(*dataDisks_, picker_.dataDisks(), picker_.dataDiskSelection());
  ShowOrganizations();

  // `activated` comes with every choice the user confirms, also of the entry already shown.
  connect(dataDisks_, &QComboBox::activated, this, [this](int index) {
    picker_.ChooseDataDisk(index);
    ShowOrganizations();
  });
  connect(organizations_, &QComboBox::activated, this,
          [this](int index) { picker_.SelectOrganization(index); });
  connect(ok_, &QPushButton::clicked, this, &CIdentifyOrgDlg::accept);
  connect(cancel_, &QPushButton::clicked, this, &CIdentifyOrgDlg::reject);
}

void CIdentifyOrgDlg::ShowOrganizations() {
  Fill(*organizations_, picker_.organizations(), picker_.organizationSelection());
}

void CIdentifyOrgDlg::accept() {
  picker_.SelectOrganization(organizations_->currentIndex());
  picker_.Ok();
  QDialog::accept();
}

void CIdentifyOrgDlg::reject() {
  picker_.Cancel();
  QDialog::reject();
}

}  // namespace tovarin::gui
