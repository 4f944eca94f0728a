#include "gui/tovarin_form.h"

#include <algorithm>

#include <QCheckBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>

#include "gui/list_box.h"
#include "gui/path_text.h"
#include "pairing/list_box.h"
#include "shell/tovarin_view.h"

namespace tovarin::gui {
namespace {

QString FromLocal(const std::string& text) { return QString::fromLocal8Bit(text); }

void ShowText(QLineEdit& edit, const QString& text) {
  edit.setText(text);
  edit.setCursorPosition(0);  // a long path shows its beginning, like a fresh edit control
}

// A path edit shows the path in lower case and only its beginning: the tooltip has all of it,
// as the field holds it.
void ShowPath(QLineEdit& edit, const std::string& path) {
  ShowText(edit, PathText(path).toLower());
  edit.setToolTip(PathText(path));
}

// Shrinks a list box to a whole number of rows, as a classic list box does, so that no row is
// cut at the bottom.
void FitWholeRows(ListBox& list, QRect rect) {
  const int frame = 2 * list.frameWidth();
  const int row = list.fontMetrics().height() + 1;  // TabbedRowDelegate's row height
  const int rows = std::max(1, (rect.height() - frame) / row);
  rect.setHeight(rows * row + frame);
  list.setGeometry(rect);
}

}  // namespace

CTovarinForm::CTovarinForm(QWidget* parent) : QWidget(parent), units_(DialogFont()) {
  setFont(DialogFont());
  const DialogUnits& u = units_;
  setFixedSize(u.X(391), u.Y(261));

  // Frames first, so that they lie beneath the controls they surround.
  c_.organizationFrame = MakeFrame(u.Rect(9, 9, 295, 130));
  c_.buttonFrame = MakeFrame(u.Rect(309, 9, 70, 130));
  c_.listFrame = MakeFrame(u.Rect(9, 138, 370, 112));

  c_.targetOrganization = MakeButton("&Target Organization", u.Rect(19, 24, 85, 15));
  c_.targetOrgPath = MakeEdit(u.Rect(109, 24, 187, 15));
  c_.sourceOrganization = MakeButton("&Source Organization", u.Rect(19, 54, 85, 15));
  c_.sourceOrgPath = MakeEdit(u.Rect(109, 54, 187, 15));
  c_.renameFile = MakeButton("R&ename File", u.Rect(19, 84, 85, 15));
  c_.renamePath = MakeEdit(u.Rect(109, 84, 187, 15));
  c_.useFarm = new QCheckBox(QStringLiteral("Use Source F&arm Organization"), this);
  // Nothing stands to its right: a font wider than the form's design still shows the whole text.
  QRect farmRect = u.Rect(19, 109, 120, 15);
  farmRect.setWidth(std::max(farmRect.width(), c_.useFarm->sizeHint().width()));
  c_.useFarm->setGeometry(farmRect);
  c_.useFarm->setFocusPolicy(Qt::StrongFocus);

  c_.build = MakeButton("&Build", u.Rect(314, 18, 60, 14));
  c_.build->setDefault(true);
  c_.match = MakeButton("&Match", u.Rect(314, 39, 60, 14));
  c_.unmatch = MakeButton("&Un Match", u.Rect(314, 58, 60, 14));
  c_.reset = MakeButton("&Reset", u.Rect(315, 95, 60, 14));
  c_.cancel = MakeButton("&Cancel", u.Rect(315, 115, 60, 14));

  c_.targetHeading = MakeHeading("Target Organization", u.Rect(14, 149, 235, 14));
  c_.targetLabel = MakeEdit(u.Rect(14, 164, 130, 14));
  c_.sourceTeamHeading = MakeHeading("Source Team", u.Rect(144, 164, 105, 14));
  c_.targetList = new ListBox(this);
  FitWholeRows(*c_.targetList, u.Rect(14, 178, 235, 65));
  c_.sourceHeading = MakeHeading("Source Organization", u.Rect(254, 149, 119, 14));
  c_.sourceLabel = MakeEdit(u.Rect(254, 164, 119, 14));
  c_.sourceList = new ListBox(this);
  FitWholeRows(*c_.sourceList, u.Rect(254, 178, 119, 65));

  const std::vector<QWidget*> order = TabOrder();
  for (std::size_t i = 0; i + 1 < order.size(); ++i) setTabOrder(order[i], order[i + 1]);

  connect(c_.cancel, &QPushButton::clicked, this, &CTovarinForm::closeRequested);
}

std::vector<QWidget*> CTovarinForm::TabOrder() const {
  return {c_.targetOrganization, c_.sourceOrganization, c_.renameFile, c_.useFarm,
          c_.targetList,         c_.sourceList,         c_.build,      c_.match,
          c_.unmatch,            c_.reset,              c_.cancel};
}

QPushButton* CTovarinForm::MakeButton(const char* text, QRect rect) {
  auto* button = new QPushButton(QString::fromLatin1(text), this);
  button->setGeometry(rect);
  button->setAutoDefault(false);
  button->setFocusPolicy(Qt::StrongFocus);
  return button;
}

QLineEdit* CTovarinForm::MakeEdit(QRect rect) {
  auto* edit = new QLineEdit(this);
  edit->setGeometry(rect);
  edit->setReadOnly(true);
  edit->setFocusPolicy(Qt::NoFocus);
  // Read-only edits sit on the dialog's face colour, as they do in a classic dialog.
  QPalette palette = edit->palette();
  palette.setColor(QPalette::Base, palette.color(QPalette::Window));
  edit->setPalette(palette);
  return edit;
}

QLabel* CTovarinForm::MakeHeading(const char* text, QRect rect) {
  auto* label = new QLabel(QString::fromLatin1(text), this);
  label->setGeometry(rect);
  label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  label->setLineWidth(1);
  label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  label->setIndent(units_.X(2));
  return label;
}

QGroupBox* CTovarinForm::MakeFrame(QRect rect) {
  auto* frame = new QGroupBox(this);
  frame->setGeometry(rect);
  frame->setFocusPolicy(Qt::NoFocus);
  return frame;
}

void CTovarinForm::Attach(CTovarinView& view) {
  view_ = &view;
  auto command = [this](QPushButton* button, auto handler) {
    connect(button, &QPushButton::clicked, this, [this, handler] { handler(*view_); });
  };
  command(c_.targetOrganization, [](CTovarinView& v) { v.OnTargetOrganization(); });
  command(c_.sourceOrganization, [](CTovarinView& v) { v.OnSourceOrganization(); });
  command(c_.renameFile, [](CTovarinView& v) { v.ChooseRenameFile(); });
  command(c_.build, [](CTovarinView& v) { v.OnBuild(); });
  command(c_.match, [](CTovarinView& v) { v.OnMatch(); });
  command(c_.unmatch, [](CTovarinView& v) { v.OnUnmatch(); });
  command(c_.reset, [](CTovarinView& v) { v.OnReset(); });
  connect(c_.useFarm, &QCheckBox::clicked, this, [this] { view_->OnUseFarm(); });

  // The view takes the selection from its list models, so the user's choice goes there first.
  connect(c_.targetList, &QListWidget::currentRowChanged, this,
          [this](int row) { view_->teamLists.targetList().selected = row; });
  connect(c_.sourceList, &QListWidget::currentRowChanged, this,
          [this](int row) { view_->teamLists.sourceList().selected = row; });
  connect(c_.targetList, &QListWidget::itemDoubleClicked, this,
          [this] { view_->OnDblclkTargetList(); });
  connect(c_.sourceList, &QListWidget::itemDoubleClicked, this,
          [this] { view_->OnDblclkSourceList(); });
}

void CTovarinForm::SetRenamePath(const std::string& text) { ShowPath(*c_.renamePath, text); }
void CTovarinForm::SetSourceOrgPath(const std::string& text) { ShowPath(*c_.sourceOrgPath, text); }
void CTovarinForm::SetTargetOrgPath(const std::string& text) { ShowPath(*c_.targetOrgPath, text); }
void CTovarinForm::SetUseFarm(int checked) { c_.useFarm->setChecked(checked != 0); }
void CTovarinForm::SetSourceLabel(const std::string& text) {
  ShowText(*c_.sourceLabel, FromLocal(text));
}
void CTovarinForm::SetTargetLabel(const std::string& text) {
  ShowText(*c_.targetLabel, FromLocal(text));
}

void CTovarinForm::ShowLists(const ListBoxModel& target, const ListBoxModel& source) {
  ShowList(*c_.targetList, target);
  ShowList(*c_.sourceList, source);
}

void CTovarinForm::ShowList(ListBox& list, const ListBoxModel& model) {
  const QSignalBlocker blocker(list);  // the model already holds this selection
  list.clear();
  for (const ListBoxModel::Row& row : model.rows) list.addItem(FromLocal(row.text));
  std::vector<int> stops;
  for (int stop : model.tabStops) stops.push_back(units_.X(stop));
  list.SetTabStops(std::move(stops));
  list.setCurrentRow(model.selected);
  if (list.currentItem()) list.scrollToItem(list.currentItem());
}

void CTovarinForm::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    auto* focused = qobject_cast<QPushButton*>(focusWidget());
    (focused && isAncestorOf(focused) ? focused : c_.build)->click();
    return;
  }
  QWidget::keyPressEvent(event);
}

}  // namespace tovarin::gui
