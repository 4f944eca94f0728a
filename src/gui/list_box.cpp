#include "gui/list_box.h"

#include <QApplication>
#include <QPainter>

namespace tovarin::gui {

std::vector<RowPart> LayOutRow(const QString& text, const QFontMetrics& metrics,
                               const std::vector<int>& tabStops) {
  std::vector<RowPart> parts;
  int x = 0;
  for (const QString& piece : text.split(QLatin1Char('\t'))) {
    if (!parts.empty()) {
      const int end = parts.back().x + metrics.horizontalAdvance(parts.back().text);
      x = end + 2 * metrics.averageCharWidth();
      for (int stop : tabStops) {
        if (stop > end) {
          x = stop;
          break;
        }
      }
    }
    parts.push_back({piece, x});
  }
  return parts;
}

void PlainFrame(QFrame& list) {
  list.setFrameStyle(QFrame::Box | QFrame::Plain);
  list.setLineWidth(1);
}

ListBox::ListBox(QWidget* parent) : QListWidget(parent) {
  PlainFrame(*this);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setUniformItemSizes(true);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setItemDelegate(new TabbedRowDelegate(this));
}

void ListBox::SetTabStops(std::vector<int> pixels) {
  tabStops_ = std::move(pixels);
  viewport()->update();
}

QItemSelectionModel::SelectionFlags ListBox::selectionCommand(const QModelIndex& index,
                                                              const QEvent* event) const {
  if (!index.isValid()) return QItemSelectionModel::NoUpdate;
  const QItemSelectionModel::SelectionFlags flags = QListWidget::selectionCommand(index, event);
  if (flags & QItemSelectionModel::Deselect) return QItemSelectionModel::ClearAndSelect;
  return flags;
}

void ListBox::focusInEvent(QFocusEvent* event) {
  QListWidget::focusInEvent(event);
  viewport()->update();
}

void ListBox::focusOutEvent(QFocusEvent* event) {
  QListWidget::focusOutEvent(event);
  viewport()->update();
}

TabbedRowDelegate::TabbedRowDelegate(ListBox* list) : QStyledItemDelegate(list), list_(list) {}

void TabbedRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const {
  QStyleOptionViewItem opt(option);
  initStyleOption(&opt, index);
  const QString text = opt.text;
  opt.text.clear();
  const QWidget* widget = opt.widget;
  QStyle* style = widget ? widget->style() : QApplication::style();
  const bool focused = list_->hasFocus();
  const bool selected = opt.state & QStyle::State_Selected;
  // The style draws a selection alike in the focused list and the other one: without the
  // focus, it is a tint of the highlight under the normal text.
  QColor tint = opt.palette.color(QPalette::Highlight);
  tint.setAlpha(64);
  if (selected && !focused) opt.state &= ~QStyle::State_Selected;
  style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);
  if (selected && !focused) painter->fillRect(opt.rect, tint);

  const QPalette::ColorGroup group = !(opt.state & QStyle::State_Enabled) ? QPalette::Disabled
                                     : (opt.state & QStyle::State_Active) ? QPalette::Active
                                                                          : QPalette::Inactive;
  const QPalette::ColorRole role =
      selected && focused ? QPalette::HighlightedText : QPalette::Text;
  painter->save();
  if (selected && focused) {
    // A dotted frame inside the row, as a classic list box marks the row that has the focus.
    painter->setPen(QPen(opt.palette.color(group, role), 1, Qt::DotLine));
    painter->drawRect(opt.rect.adjusted(0, 0, -1, -1));
  }
  painter->setFont(opt.font);
  painter->setPen(opt.palette.color(group, role));
  const int left = opt.rect.left() + kTextMargin;
  for (const RowPart& part : LayOutRow(text, opt.fontMetrics, list_->tabStops())) {
    const QRect box(left + part.x, opt.rect.top(), opt.rect.right() - left - part.x + 1,
                    opt.rect.height());
    painter->drawText(box, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, part.text);
  }
  painter->restore();
}

QSize TabbedRowDelegate::sizeHint(const QStyleOptionViewItem& option,
                                  const QModelIndex& index) const {
  const QSize size = QStyledItemDelegate::sizeHint(option, index);
  return QSize(size.width(), option.fontMetrics.height() + 1);
}

}  // namespace tovarin::gui
