#include "gui/control_names.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QEvent>
#include <QPainter>
#include <QProxyStyle>
#include <QPushButton>
#include <QStyleOptionButton>

namespace tovarin::gui {
namespace {

// Qt sets the attribute only when Tab or a shortcut moves the focus, and takes it away again
// when the window is left: it is set anew whenever a control of the window takes the focus. A
// list that takes the focus with no row selected selects its first, so the focus shows on a row.
class KeepFocusShown : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::FocusIn || event->type() == QEvent::WindowActivate) {
      static_cast<QWidget*>(watched)->window()->setAttribute(Qt::WA_KeyboardFocusChange);
    }
    auto* list = qobject_cast<QAbstractItemView*>(watched);
    if (event->type() == QEvent::FocusIn && list && list->model() &&
        list->model()->rowCount() > 0 && !list->selectionModel()->hasSelection()) {
      list->setCurrentIndex(list->model()->index(0, 0));
    }
    return false;
  }
};

// The application's style, with a dotted frame inside a push button that has the focus: the
// style alone draws a focused button as it draws the default one, which Enter presses too.
class FocusFrameStyle : public QProxyStyle {
 public:
  void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                   const QWidget* widget) const override {
    QProxyStyle::drawControl(element, option, painter, widget);
    if (element != CE_PushButton || !(option->state & State_HasFocus)) return;
    painter->save();
    painter->setPen(QPen(option->palette.color(QPalette::ButtonText), 1, Qt::DotLine));
    const int inset = pixelMetric(PM_DefaultFrameWidth, option, widget) + 2;
    painter->drawRect(option->rect.adjusted(inset, inset, -inset - 1, -inset - 1));
    painter->restore();
  }
};

QStyle* FocusFrame() {
  static auto* style = [] {
    auto* made = new FocusFrameStyle;
    made->setParent(qApp);
    return made;
  }();
  return style;
}

}  // namespace

void NameControl(QWidget& widget, const layout::DialogLayout& dialog, int id) {
  if (const char* name = layout::ControlNameOf(dialog, id)) {
    widget.setAccessibleName(QString::fromLatin1(name));
  }
}

void ShowFocusAlways(QWidget& window) {
  auto* filter = new KeepFocusShown(&window);
  window.installEventFilter(filter);
  for (QWidget* control : window.findChildren<QWidget*>()) {
    control->installEventFilter(filter);
    if (qobject_cast<QPushButton*>(control)) control->setStyle(FocusFrame());
  }
  window.window()->setAttribute(Qt::WA_KeyboardFocusChange);
}

QStringList NameFilters(const layout::FilePicker& picker) {
  QStringList filters;
  for (const layout::FileType& type : picker.types) {
    const QString label = QString::fromLatin1(type.label);
    // Qt reads the patterns from the parentheses; a label without them gets its pattern there.
    filters << (label.contains(QLatin1Char('('))
                    ? label
                    : label + QStringLiteral(" (") + QString::fromLatin1(type.pattern) +
                          QLatin1Char(')'));
  }
  return filters;
}

}  // namespace tovarin::gui
