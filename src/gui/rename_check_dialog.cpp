#include "gui/rename_check_dialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/dialog_units.h"
#include "gui/path_text.h"
#include "gui/sim_text.h"

namespace tovarin::gui {

CRenameCheckDlg::CRenameCheckDlg(const RenameCheckModel& model, QWidget* parent)
    : QDialog(parent) {
  setFont(DialogFont());
  setWindowTitle(QStringLiteral("Check Rename File"));
  const DialogUnits units(font());
  resize(units.X(420), units.Y(240));

  auto* file = new QLabel(PathText(model.path), this);
  file->setTextFormat(Qt::PlainText);
  summary_ = new QLabel(QString::fromStdString(model.summary), this);
  summary_->setTextFormat(Qt::PlainText);
  rows_ = new QListWidget(this);
  rows_->setUniformItemSizes(true);
  for (const RenameCheckModel::Row& row : model.rows) {
    auto* item = new QListWidgetItem(FromWindows1252(row.text), rows_);
    item->setData(Qt::UserRole, row.line);
  }

  close_ = new QPushButton(QStringLiteral("Close"), this);
  close_->setDefault(true);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(close_);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(file);
  layout->addWidget(summary_);
  layout->addWidget(rows_, 1);
  layout->addLayout(buttons);
  connect(close_, &QPushButton::clicked, this, &QDialog::accept);
}

}  // namespace tovarin::gui
