#include "gui/tovarin_form.h"

#include <algorithm>

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>

#include "gui/control_names.h"
#include "gui/list_box.h"
#include "gui/path_text.h"
#include "gui/sim_text.h"
#include "pairing/list_box.h"
#include "shell/form_layout.h"
#include "shell/tovarin_view.h"

namespace tovarin::gui {
namespace {

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
  const layout::DialogLayout& form = layout::Form();
  setFixedSize(units_.X(form.width), units_.Y(form.height));

  // In the table's order, so that each frame lies beneath the controls it surrounds.
  for (int item = 0; item < layout::kFormItemCount; ++item) {
    widgets_[item] = MakeControl(layout::FormControl(static_cast<layout::FormItem>(item)));
  }
  auto at = [this]<typename W>(layout::FormItem item, W*& field) {
    field = static_cast<W*>(widgets_[item]);
  };
  at(layout::kOrganizationFrame, c_.organizationFrame);
  at(layout::kTargetOrganizationButton, c_.targetOrganization);
  at(layout::kTargetOrgPathEdit, c_.targetOrgPath);
  at(layout::kSourceOrganizationButton, c_.sourceOrganization);
  at(layout::kSourceOrgPathEdit, c_.sourceOrgPath);
  at(layout::kRenameFileButton, c_.renameFile);
  at(layout::kRenamePathEdit, c_.renamePath);
  at(layout::kUseFarmCheckBox, c_.useFarm);
  at(layout::kButtonFrame, c_.buttonFrame);
  at(layout::kBuildButton, c_.build);
  at(layout::kMatchButton, c_.match);
  at(layout::kUnmatchButton, c_.unmatch);
  at(layout::kResetButton, c_.reset);
  at(layout::kCancelButton, c_.cancel);
  at(layout::kListFrame, c_.listFrame);
  at(layout::kTargetHeading, c_.targetHeading);
  at(layout::kTargetLabelEdit, c_.targetLabel);
  at(layout::kSourceTeamHeading, c_.sourceTeamHeading);
  at(layout::kTargetListBox, c_.targetList);
  at(layout::kSourceHeading, c_.sourceHeading);
  at(layout::kSourceLabelEdit, c_.sourceLabel);
  at(layout::kSourceListBox, c_.sourceList);

  for (int item = 0; item < layout::kFormItemCount; ++item) {
    NameControl(*widgets_[item], layout::Form(),
                layout::FormControl(static_cast<layout::FormItem>(item)).id);
  }
  ShowFocusAlways(*this);

  const std::vector<QWidget*> order = TabOrder();
  for (std::size_t i = 0; i + 1 < order.size(); ++i) setTabOrder(order[i], order[i + 1]);

  connect(c_.cancel, &QPushButton::clicked, this, &CTovarinForm::closeRequested);
  // The default outline shows what Enter presses: the focused button, or else Build.
  followFocus_ = connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
    auto* focused = qobject_cast<QPushButton*>(now);
    QPushButton* enter = focused && focused->parentWidget() == this ? focused : c_.build;
    for (QPushButton* button : findChildren<QPushButton*>(Qt::FindDirectChildrenOnly)) {
      button->setDefault(button == enter);
    }
  });
}

CTovarinForm::~CTovarinForm() { disconnect(followFocus_); }

QWidget* CTovarinForm::MakeControl(const layout::DialogControl& control) {
  using K = layout::ControlKind;
  const layout::DialogRect& r = control.rect;
  const QRect rect = units_.Rect(r.x, r.y, r.width, r.height);
  switch (control.kind) {
    case K::kGroupFrame:
      return MakeFrame(rect);
    case K::kButton:
    case K::kDefaultButton: {
      QPushButton* button = MakeButton(control.text, rect);
      button->setDefault(control.kind == K::kDefaultButton);
      return button;
    }
    case K::kCheckBox: {
      auto* box = new QCheckBox(QString::fromLatin1(control.text), this);
      // Nothing stands to its right: a font wider than the form's design still shows the
      // whole text.
      QRect wide = rect;
      wide.setWidth(std::max(rect.width(), box->sizeHint().width()));
      box->setGeometry(wide);
      box->setFocusPolicy(Qt::StrongFocus);
      return box;
    }
    case K::kPathEdit:
    case K::kReadOnlyEdit:
      return MakeEdit(rect);
    case K::kHeading:
      return MakeHeading(control.text, rect);
    case K::kListBox:
    case K::kTabbedListBox: {
      auto* list = new ListBox(this);
      FitWholeRows(*list, rect);
      return list;
    }
    default:
      break;
  }
  auto* text = new QLabel(QString::fromLatin1(control.text), this);
  text->setGeometry(rect);
  return text;
}

std::vector<QWidget*> CTovarinForm::TabOrder() const {
  std::vector<std::pair<int, QWidget*>> stops;
  for (int item = 0; item < layout::kFormItemCount; ++item) {
    const int index = layout::FormControl(static_cast<layout::FormItem>(item)).tabIndex;
    if (index > 0) stops.emplace_back(index, widgets_[item]);
  }
  std::sort(stops.begin(), stops.end());
  std::vector<QWidget*> order;
  for (const auto& stop : stops) order.push_back(stop.second);
  return order;
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
  for (int item = 0; item < layout::kFormItemCount; ++item) {
    const layout::DialogControl& control =
        layout::FormControl(static_cast<layout::FormItem>(item));
    auto* button = qobject_cast<QAbstractButton*>(widgets_[item]);
    if (!button || control.id == layout::id::kClose) continue;
    connect(button, &QAbstractButton::clicked, this,
            [this, id = control.id] { view_->OnCommand(id); });
  }

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
  ShowText(*c_.sourceLabel, FromWindows1252(text));
}
void CTovarinForm::SetTargetLabel(const std::string& text) {
  ShowText(*c_.targetLabel, FromWindows1252(text));
}

void CTovarinForm::ShowLists(const ListBoxModel& target, const ListBoxModel& source) {
  ShowList(*c_.targetList, target);
  ShowList(*c_.sourceList, source);
}

void CTovarinForm::ShowList(ListBox& list, const ListBoxModel& model) {
  const QSignalBlocker blocker(list);  // the model already holds this selection
  list.clear();
  for (const ListBoxModel::Row& row : model.rows) {
    auto* item = new QListWidgetItem(FromWindows1252(row.text), &list);
    // Read as seen: the tab and the aligning spaces are no words.
    item->setData(Qt::AccessibleTextRole,
                  FromWindows1252(&list == c_.targetList ? layout::SpokenTargetRow(row.text)
                                                         : layout::SpokenRow(row.text)));
  }
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
