#include "gui/org_dialog.h"

#include <algorithm>

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>

#include "gui/path_text.h"
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

CIdentifyOrgDlg::CIdentifyOrgDlg(OrgPicker& picker, QWidget* parent)
    : QDialog(parent), picker_(picker), units_(DialogFont()) {
  setFont(DialogFont());
  setWindowTitle(QStringLiteral("Identify Organization"));
  setFixedSize(units_.X(199), units_.Y(68));

  auto label = [this](const char* text, int y) {
    auto* l = new QLabel(QString::fromLatin1(text), this);
    QRect rect = units_.Rect(10, y, 47, 12);
    // Right-aligned against its list: a wider font grows the label to the left.
    rect.setLeft(std::max(0, rect.right() + 1 - std::max(rect.width(), l->sizeHint().width())));
    l->setGeometry(rect);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  };
  auto list = [this](int y) {
    auto* combo = new QComboBox(this);
    combo->setEditable(false);
    const QRect rect = units_.Rect(63, y, 127, 12);
    // The closed list is as tall as the style draws it, centred on its row.
    const int height = std::max(rect.height(), combo->sizeHint().height());
    combo->setGeometry(rect.x(), rect.center().y() - height / 2, rect.width(), height);
    return combo;
  };
  label("Data Disk :", 10);
  dataDisks_ = list(10);
  label("Organization :", 28);
  organizations_ = list(28);

  ok_ = new QPushButton(QStringLiteral("&OK"), this);
  ok_->setGeometry(units_.Rect(39, 47, 50, 14));
  ok_->setDefault(true);
  cancel_ = new QPushButton(QStringLiteral("&Cancel"), this);
  cancel_->setGeometry(units_.Rect(105, 47, 50, 14));
  cancel_->setAutoDefault(false);

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
