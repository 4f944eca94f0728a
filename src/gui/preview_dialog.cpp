#include "gui/preview_dialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSplitter>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "gui/dialog_units.h"
#include "gui/path_text.h"
#include "gui/sim_text.h"
#include "shell/preview.h"
#include "shell/tovarin_view.h"

namespace tovarin::gui {

CPreviewDlg::CPreviewDlg(CTovarinView& view, QWidget* parent) : QDialog(parent), view_(view) {
  setFont(DialogFont());
  setWindowTitle(QStringLiteral("Preview Build"));
  const DialogUnits units(font());
  resize(units.X(420), units.Y(300));

  counts_ = new QLabel(this);
  counts_->setTextFormat(Qt::PlainText);

  teams_ = new QTreeWidget(this);
  teams_->setHeaderLabels({QStringLiteral("Target teams and the players each would receive")});
  teams_->setUniformRowHeights(true);

  dropped_ = new QTreeWidget(this);
  dropped_->setRootIsDecorated(false);
  dropped_->setUniformRowHeights(true);
  dropped_->setHeaderLabels(
      {QStringLiteral("Dropped player"), QStringLiteral("Source team"),
       QStringLiteral("Best candidate")});
  dropped_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);

  auto* splitter = new QSplitter(Qt::Vertical, this);
  splitter->addWidget(teams_);
  splitter->addWidget(dropped_);

  add_ = new QPushButton(QStringLiteral("&Add to Rename File"), this);
  refresh_ = new QPushButton(QStringLiteral("&Refresh"), this);
  close_ = new QPushButton(QStringLiteral("Close"), this);
  close_->setDefault(true);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(add_);
  buttons->addWidget(refresh_);
  buttons->addStretch();
  buttons->addWidget(close_);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(counts_);
  layout->addWidget(splitter, 1);
  layout->addLayout(buttons);

  connect(add_, &QPushButton::clicked, this, &CPreviewDlg::AddToRenameFile);
  connect(refresh_, &QPushButton::clicked, this, &CPreviewDlg::Refresh);
  connect(close_, &QPushButton::clicked, this, &QDialog::accept);
  Refresh();
}

void CPreviewDlg::Refresh() {
  review_ = view_.ReviewBuild();
  teams_->clear();
  dropped_->clear();
  if (!review_.ok) {
    counts_->setText(PathText(review_.error));
    add_->setEnabled(false);
    return;
  }
  const PreviewModel model = MakePreview(review_);
  QStringList counts;
  for (const std::string& line : model.counts) counts << QString::fromLatin1(line);
  counts_->setText(counts.join(QLatin1Char('\n')));

  for (const PreviewModel::Team& team : model.teams) {
    auto* item = new QTreeWidgetItem(teams_, {FromWindows1252(team.heading)});
    for (const std::string& player : team.players) {
      new QTreeWidgetItem(item, {FromWindows1252(player)});
    }
  }
  bool checkable = false;
  for (const PreviewModel::Dropped& row : model.dropped) {
    auto* item = new QTreeWidgetItem(
        dropped_, {FromWindows1252(row.player), FromWindows1252(row.team),
                   FromWindows1252(row.candidate)});
    item->setData(0, Qt::UserRole, row.sourcePlayer);
    if (row.acceptable) {
      item->setCheckState(0, Qt::Unchecked);
      checkable = true;
    } else {
      item->setFlags(item->flags() & ~Qt::ItemIsUserCheckable);
    }
  }
  add_->setEnabled(checkable);
}

void CPreviewDlg::AddToRenameFile() {
  std::vector<int> players;
  for (int i = 0; i < dropped_->topLevelItemCount(); ++i) {
    const QTreeWidgetItem* item = dropped_->topLevelItem(i);
    if (item->checkState(0) == Qt::Checked) players.push_back(item->data(0, Qt::UserRole).toInt());
  }
  if (players.empty()) return;
  // The checked players are carried now: the refreshed review shows them on their teams.
  if (view_.AddToRenameFile(review_, players)) Refresh();
}

}  // namespace tovarin::gui
