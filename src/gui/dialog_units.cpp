#include "gui/dialog_units.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontMetrics>

namespace tovarin::gui {
namespace {

// units * base / divisor, rounded to the nearest pixel.
int Scale(int units, int base, int divisor) {
  const long product = static_cast<long>(units) * base;
  return static_cast<int>((2 * product + (product >= 0 ? divisor : -divisor)) / (2 * divisor));
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

QFont DialogFont() {
  QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
  font.setPointSize(8);
  return font;
}

}  // namespace tovarin::gui
