#include "gui/restore_dialog.h"

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>

#include "gui/control_names.h"
#include "gui/dialog_units.h"
#include "gui/list_box.h"
#include "gui/path_text.h"
#include "shell/form_layout.h"

namespace tovarin::gui {

CRestoreDlg::CRestoreDlg(const RestoreModel& backups, QWidget* parent)
    : QDialog(parent), backups_(backups) {
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
        PlainFrame(*list_);
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

  for (const RestoreRow& row : backups_.rows()) {
    auto* item = new QTreeWidgetItem(list_, QStringList{PathText(row.cells[0]),
                                                         PathText(row.cells[1]),
                                                         PathText(row.cells[2])});
    if (row.damaged()) {
      for (int column = 0; column < item->columnCount(); ++column) {
        item->setForeground(column, palette().brush(QPalette::Disabled, QPalette::Text));
      }
    }
  }
  // Each column as wide as its widest text or its title, the list scrolling when need be.
  list_->header()->setStretchLastSection(false);
  list_->header()->resizeSections(QHeaderView::ResizeToContents);
  connect(list_, &QTreeWidget::itemSelectionChanged, this, &CRestoreDlg::ShowSelection);
  connect(list_, &QTreeWidget::itemActivated, this, [this] { Choose(true); });
  connect(restore_, &QPushButton::clicked, this, [this] { Choose(false); });
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
  list_->setCurrentItem(list_->topLevelItem(static_cast<int>(backups_.Preselected())));
  ShowSelection();
  list_->setFocus();
}

std::optional<std::size_t> CRestoreDlg::Selected() const {
  QTreeWidgetItem* item = list_->currentItem();
  if (!item || !item->isSelected()) return std::nullopt;
  return static_cast<std::size_t>(list_->indexOfTopLevelItem(item));
}

void CRestoreDlg::Choose(bool anyRow) {
  const std::optional<std::size_t> row = Selected();
  if (!row || (!anyRow && !backups_.CanRestore(row))) return;
  chosen_ = row;
  accept();
}

void CRestoreDlg::ShowSelection() {
  detail_->setText(PathText(backups_.Detail(Selected())));
  restore_->setEnabled(backups_.CanRestore(Selected()));
}

}  // namespace tovarin::gui
