#include "gui/preview_dialog.h"

#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTreeWidget>

#include "gui/control_names.h"
#include "gui/dialog_units.h"
#include "gui/list_box.h"
#include "gui/path_text.h"
#include "gui/sim_text.h"
#include "shell/form_layout.h"
#include "shell/preview.h"

namespace tovarin::gui {

CPreviewDlg::CPreviewDlg(PreviewSession& preview, QWidget* parent)
    : QDialog(parent), preview_(preview) {
  setFont(DialogFont());
  const DialogUnits units(font());
  const layout::DialogLayout& dialog = layout::PreviewBuildDialog();
  setWindowTitle(QString::fromLatin1(dialog.title));
  resize(units.X(dialog.width), units.Y(dialog.height));

  using K = layout::ControlKind;
  namespace id = layout::id;
  std::vector<QWidget*> placed;
  for (const layout::DialogControl& control : dialog.controls) {
    const QString text = QString::fromLatin1(control.text);
    QWidget* widget = nullptr;
    switch (control.kind) {
      case K::kText: {
        auto* label = new QLabel(text, this);
        label->setTextFormat(Qt::PlainText);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        if (control.id == id::kPreviewCounts) counts_ = label;
        widget = label;
        break;
      }
      case K::kListBox:
        teams_ = new QListWidget(this);
        teams_->setUniformItemSizes(true);
        PlainFrame(*teams_);
        widget = teams_;
        break;
      case K::kCheckList: {
        dropped_ = new QTreeWidget(this);
        dropped_->setRootIsDecorated(false);
        dropped_->setUniformRowHeights(true);
        PlainFrame(*dropped_);
        QStringList titles;
        for (const layout::ListColumn& column : layout::PreviewColumns()) titles << column.title;
        dropped_->setHeaderLabels(titles);
        int index = 0;
        for (const layout::ListColumn& column : layout::PreviewColumns()) {
          dropped_->setColumnWidth(index++, units.X(column.width));
        }
        // The candidate shows whole, however long.
        dropped_->header()->setSectionResizeMode(index - 1, QHeaderView::ResizeToContents);
        widget = dropped_;
        break;
      }
      default: {
        auto* button = new QPushButton(text, this);
        button->setDefault(control.kind == K::kDefaultButton);
        button->setAutoDefault(false);
        if (control.id == id::kPreviewAdd) add_ = button;
        if (control.id == id::kPreviewRefresh) refresh_ = button;
        if (control.id == id::kOk) close_ = button;
        widget = button;
        break;
      }
    }
    const QRect rect = units.Rect(control.rect.x, control.rect.y, control.rect.width,
                                  control.rect.height);
    widget->setGeometry(rect);
    NameControl(*widget, dialog, control.id);
    placed.push_back(widget);
  }
  ShowFocusAlways(*this);
  new DialogAnchors(this, layout::PreviewResizing(), units, placed);

  connect(add_, &QPushButton::clicked, this, &CPreviewDlg::AddToRenameFile);
  connect(refresh_, &QPushButton::clicked, this, &CPreviewDlg::Refresh);
  connect(close_, &QPushButton::clicked, this, &QDialog::accept);
  Show();
}

void CPreviewDlg::Refresh() {
  preview_.Refresh();
  Show();
}

void CPreviewDlg::Show() {
  counts_->setText(PathText(preview_.CountsText()));
  teams_->clear();
  for (const std::string& row : preview_.TeamRows()) teams_->addItem(FromWindows1252(row));
  dropped_->clear();
  for (const PreviewModel::Dropped& row : preview_.model().dropped) {
    auto* item = new QTreeWidgetItem(
        dropped_, {FromWindows1252(row.player), FromWindows1252(row.team),
                   FromWindows1252(row.candidate)});
    if (row.acceptable) {
      item->setCheckState(0, Qt::Unchecked);
    } else {
      item->setFlags(item->flags() & ~Qt::ItemIsUserCheckable);
    }
  }
  add_->setEnabled(preview_.AnyAcceptable());
}

void CPreviewDlg::AddToRenameFile() {
  std::vector<std::size_t> rows;
  for (int i = 0; i < dropped_->topLevelItemCount(); ++i) {
    if (dropped_->topLevelItem(i)->checkState(0) == Qt::Checked) {
      rows.push_back(static_cast<std::size_t>(i));
    }
  }
  if (preview_.AddToRenameFile(rows)) Show();
}

}  // namespace tovarin::gui
