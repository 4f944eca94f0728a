#pragma once

#include <QListWidget>
#include <QStyledItemDelegate>
#include <vector>

namespace tovarin::gui {

// A single-selection list box that keeps its selected row (a click on empty space or with Ctrl
// does not take it away) and draws each row's tab-separated parts at its tab stops. Its selected
// row is drawn in the highlight colour and framed while it has the focus, in a paler colour
// without; taking the focus with no row selected selects the first.
class ListBox : public QListWidget {
  Q_OBJECT
 public:
  explicit ListBox(QWidget* parent = nullptr);

  // Tab stops in pixels from the start of a row's text; none for plain rows.
  void SetTabStops(std::vector<int> pixels);
  const std::vector<int>& tabStops() const { return tabStops_; }

 protected:
  QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                       const QEvent* event) const override;
  // The rows are drawn otherwise with the focus and without it.
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  std::vector<int> tabStops_;
};

// Draws a plain line round a list, as a classic list box has: the style's own frame lost its sides
// at 125% and 150%, where its thin lines fell between pixels.
void PlainFrame(QFrame& list);

// One drawn part of a row: its text and where it starts, from the start of the row's text.
struct RowPart {
  QString text;
  int x = 0;
};

// Splits `text` at its tabs; each part after a tab starts at the first stop past the end of the
// part before it, or a little after it when the stops run out.
std::vector<RowPart> LayOutRow(const QString& text, const QFontMetrics& metrics,
                               const std::vector<int>& tabStops);

class TabbedRowDelegate : public QStyledItemDelegate {
  Q_OBJECT
 public:
  explicit TabbedRowDelegate(ListBox* list);

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override;
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

  // Space between a row's edge and its text.
  static constexpr int kTextMargin = 2;

 private:
  ListBox* list_;
};

}  // namespace tovarin::gui
