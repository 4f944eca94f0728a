#include "gui/restore_dialog.h"

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>

#include "gui/control_names.h"
#include "gui/dialog_units.h"
#include "gui/path_text.h"
#include "shell/form_layout.h"

namespace tovarin::gui {

CRestoreDlg::CRestoreDlg(const std::vector<RestoreRow>& rows, QWidget* parent)
    : QDialog(parent), rows_(rows) {
  setFont(DialogFont());
  const DialogUnits units(font());
  const layout::DialogLayout& dialog = layout::RestoreBuildDialog();
  setWindowTitle(QString::fromLatin1(dialog.title));
  setFixedSize(units.X(dialog.width), units.Y(dialog.height));

  for (const layout::DialogControl& control : dialog.controls) {
    const QRect rect = units.Rect(control.rect.x, control.rect.y, control.rect.width,
                                  control.rect.height);
    const QString text = QString::fromLatin1(control.text);
    switch (control.kind) {
      case layout::ControlKind::kColumnList: {
        list_ = new QTreeWidget(this);
        list_->setGeometry(rect);
        NameControl(*list_, dialog, control.id);
        list_->setRootIsDecorated(false);
        list_->setSelectionMode(QAbstractItemView::SingleSelection);
        list_->setAllColumnsShowFocus(true);
        list_->header()->setSectionsMovable(false);
        QStringList titles;
        for (const RestoreColumn& column : RestoreColumns()) titles << column.title;
        list_->setHeaderLabels(titles);
        int index = 0;
        for (const RestoreColumn& column : RestoreColumns()) {
          list_->setColumnWidth(index++, units.X(column.width));
        }
        break;
      }
      case layout::ControlKind::kText: {
        auto* label = new QLabel(text, this);
        label->setGeometry(rect);
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        if (control.id == layout::id::kBackupDetail) detail_ = label;
        break;
      }
      default: {
        auto* button = new QPushButton(text, this);
        button->setGeometry(rect);
        button->setDefault(control.kind == layout::ControlKind::kDefaultButton);
        button->setAutoDefault(false);
        (control.id == layout::id::kOk ? restore_ : cancel_) = button;
        break;
      }
    }
  }

  ShowFocusAlways(*this);

  QTreeWidgetItem* first = nullptr;
  for (const RestoreRow& row : rows_) {
    auto* item = new QTreeWidgetItem(list_, QStringList{PathText(row.cells[0]),
                                                         PathText(row.cells[1]),
                                                         PathText(row.cells[2])});
    if (row.damaged()) {
      for (int column = 0; column < item->columnCount(); ++column) {
        item->setForeground(column, palette().brush(QPalette::Disabled, QPalette::Text));
      }
    } else if (!first) {
      first = item;
    }
  }
  connect(list_, &QTreeWidget::itemSelectionChanged, this, &CRestoreDlg::ShowSelection);
  connect(list_, &QTreeWidget::itemActivated, this, [this] { accept(); });
  connect(restore_, &QPushButton::clicked, this, &CRestoreDlg::accept);
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
  // The newest backup that can be put back is the one a user most likely wants.
  list_->setCurrentItem(first ? first : list_->topLevelItem(0));
  ShowSelection();
  list_->setFocus();
}

std::optional<std::size_t> CRestoreDlg::chosen() const {
  const int row = list_->indexOfTopLevelItem(list_->currentItem());
  if (row < 0 || !list_->currentItem()->isSelected()) return std::nullopt;
  const auto index = static_cast<std::size_t>(row);
  if (index >= rows_.size() || rows_[index].damaged()) return std::nullopt;
  return index;
}

void CRestoreDlg::accept() {
  if (chosen()) QDialog::accept();
}

void CRestoreDlg::ShowSelection() {
  const int row = list_->indexOfTopLevelItem(list_->currentItem());
  const bool shown = row >= 0 && static_cast<std::size_t>(row) < rows_.size();
  detail_->setText(shown ? PathText(RestoreDetail(rows_[static_cast<std::size_t>(row)]))
                         : QString());
  restore_->setEnabled(chosen().has_value());
}

}  // namespace tovarin::gui
