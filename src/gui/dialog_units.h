#pragma once

#include <QFont>
#include <QRect>

namespace tovarin::gui {

// Dialog units of a font: a quarter of its average character width across, an eighth of its
// height down. The form and the dialogs are laid out in them, so they keep their proportions
// with whatever font the platform offers.
class DialogUnits {
 public:
  explicit DialogUnits(const QFont& font);

  int X(int units) const;
  int Y(int units) const;
  QRect Rect(int x, int y, int width, int height) const;

  int baseX() const { return baseX_; }
  int baseY() const { return baseY_; }

 private:
  int baseX_;
  int baseY_;
};

// The platform's standard dialog font at 8 points: the size the form was designed for.
QFont DialogFont();

}  // namespace tovarin::gui
