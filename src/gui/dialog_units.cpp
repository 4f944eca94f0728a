#include "gui/dialog_units.h"

#include <cmath>

#include <QAbstractScrollArea>
#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QFontDatabase>
#include <QFontMetrics>

namespace tovarin::gui {
namespace {

// units * base / divisor, rounded to the nearest pixel.
int Scale(int units, int base, int divisor) {
  const long product = static_cast<long>(units) * base;
  return static_cast<int>((2 * product + (product >= 0 ? divisor : -divisor)) / (2 * divisor));
}

// A list's frame line is lost where its edge falls between two device pixels, as it does
// at 125%: both edges go inwards to the nearest logical pixels that start whole device pixels.
QRect OnWholePixels(QWidget* control, QRect rect) {
  if (!qobject_cast<QAbstractScrollArea*>(control)) return rect;
  const qreal ratio = control->devicePixelRatioF();
  int step = 1;  // the fewest logical pixels that make whole device pixels
  while (step < 8 && std::abs(step * ratio - std::round(step * ratio)) > 1e-6) ++step;
  const int top = rect.y() + (step - rect.y() % step) % step;
  const int bottom = rect.y() + rect.height();
  return QRect(rect.x(), top, rect.width(), bottom - bottom % step - top);
}

}  // namespace

DialogUnits::DialogUnits(const QFont& font) {
  const QFontMetrics metrics(font);
  baseX_ = metrics.averageCharWidth();
  baseY_ = metrics.height();
}

int DialogUnits::X(int units) const { return Scale(units, baseX_, 4); }
int DialogUnits::Y(int units) const { return Scale(units, baseY_, 8); }

QRect DialogUnits::Rect(int x, int y, int width, int height) const {
  return QRect(X(x), Y(y), X(width), Y(height));
}

DialogAnchors::DialogAnchors(QDialog* dialog, const layout::Resizing& resizing,
                             const DialogUnits& units, std::vector<QWidget*> controls)
    : QObject(dialog), dialog_(dialog), resizing_(resizing), opened_(dialog->size()) {
  for (QWidget* control : controls) {
    placed_.push_back({control, control->geometry()});
    control->setGeometry(OnWholePixels(control, control->geometry()));
  }
  dialog->setMinimumSize(units.X(resizing.minWidth), units.Y(resizing.minHeight));
  dialog->installEventFilter(this);
}

bool DialogAnchors::eventFilter(QObject* watched, QEvent* event) {
  if (watched != dialog_ || event->type() != QEvent::Resize) return false;
  const int dx = dialog_->width() - opened_.width(), dy = dialog_->height() - opened_.height();
  for (std::size_t i = 0; i < placed_.size() && i < resizing_.anchors.size(); ++i) {
    const QRect& at = placed_[i].second;
    const layout::DialogRect now =
        layout::Anchored({at.x(), at.y(), at.width(), at.height()}, resizing_.anchors[i], dx, dy);
    placed_[i].first->setGeometry(
        OnWholePixels(placed_[i].first, QRect(now.x, now.y, now.width, now.height)));
  }
  return false;
}

QFont DialogFont() {
  QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
  font.setPointSize(8);
  return font;
}

}  // namespace tovarin::gui
