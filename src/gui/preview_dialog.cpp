#include "gui/preview_dialog.h"

#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QResizeEvent>
#include <QTreeWidget>

#include "gui/control_names.h"
#include "gui/dialog_units.h"
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
  initial_ = QSize(units.X(dialog.width), units.Y(dialog.height));
  setMinimumSize(initial_);
  resize(initial_);

  using K = layout::ControlKind;
  namespace id = layout::id;
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
        widget = teams_;
        break;
      case K::kCheckList: {
        dropped_ = new QTreeWidget(this);
        dropped_->setRootIsDecorated(false);
        dropped_->setUniformRowHeights(true);
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
    placed_.push_back({widget, rect});
  }
  ShowFocusAlways(*this);

  connect(add_, &QPushButton::clicked, this, &CPreviewDlg::AddToRenameFile);
  connect(refresh_, &QPushButton::clicked, this, &CPreviewDlg::Refresh);
  connect(close_, &QPushButton::clicked, this, &QDialog::accept);
  Show();
}

void CPreviewDlg::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  const int dx = width() - initial_.width(), dy = height() - initial_.height();
  const std::span<const layout::ControlAnchor> anchors = layout::PreviewAnchors();
  for (std::size_t i = 0; i < placed_.size() && i < anchors.size(); ++i) {
    const layout::ControlAnchor& a = anchors[i];
    const QRect& at = placed_[i].second;
    placed_[i].first->setGeometry(at.x() + dx * a.moveX / 2, at.y() + dy * a.moveY / 2,
                                  at.width() + dx * a.growX / 2, at.height() + dy * a.growY / 2);
  }
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
