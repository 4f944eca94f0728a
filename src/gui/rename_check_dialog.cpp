#include "gui/rename_check_dialog.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include "gui/control_names.h"
#include "gui/dialog_units.h"
#include "gui/list_box.h"
#include "gui/path_text.h"
#include "gui/sim_text.h"
#include "shell/form_layout.h"

namespace tovarin::gui {

CRenameCheckDlg::CRenameCheckDlg(const RenameCheckModel& model, QWidget* parent)
    : QDialog(parent) {
  setFont(DialogFont());
  const DialogUnits units(font());
  const layout::DialogLayout& dialog = layout::RenameCheckDialog();
  setWindowTitle(QString::fromLatin1(dialog.title));
  resize(units.X(dialog.width), units.Y(dialog.height));

  namespace id = layout::id;
  std::vector<QWidget*> placed;
  for (const layout::DialogControl& control : dialog.controls) {
    const QRect rect = units.Rect(control.rect.x, control.rect.y, control.rect.width,
                                  control.rect.height);
    switch (control.kind) {
      case layout::ControlKind::kText: {
        auto* label = new QLabel(this);
        label->setTextFormat(Qt::PlainText);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        if (control.id == id::kCheckFile) label->setText(PathText(model.path));
        if (control.id == id::kCheckSummary) {
          label->setText(QString::fromStdString(model.summary));
          summary_ = label;
        }
        if (control.id == id::kCheckLine) {
          label->setWordWrap(true);
          line_ = label;
        }
        placed.push_back(label);
        break;
      }
      case layout::ControlKind::kListBox:
        rows_ = new QListWidget(this);
        NameControl(*rows_, dialog, control.id);
        rows_->setUniformItemSizes(true);
        PlainFrame(*rows_);
        for (const RenameCheckModel::Row& row : model.rows) {
          auto* item = new QListWidgetItem(FromWindows1252(row.text), rows_);
          item->setData(Qt::UserRole, row.line);
          item->setToolTip(item->text());
        }
        placed.push_back(rows_);
        break;
      default:
        close_ = new QPushButton(QString::fromLatin1(control.text), this);
        close_->setDefault(true);
        connect(close_, &QPushButton::clicked, this, &QDialog::accept);
        placed.push_back(close_);
        break;
    }
    placed.back()->setGeometry(rect);
  }
  ShowFocusAlways(*this);
  new DialogAnchors(this, layout::RenameCheckResizing(), units, placed);
  connect(rows_, &QListWidget::currentTextChanged, line_, &QLabel::setText);
  if (rows_->count() > 0) rows_->setCurrentRow(0);
}

}  // namespace tovarin::gui
