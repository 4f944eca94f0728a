#pragma once

#include <QFont>
#include <QObject>
#include <QRect>
#include <QSize>
#include <vector>

#include "shell/form_layout.h"

class QDialog;
class QWidget;

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

// Keeps the controls of a dialog that can be resized where their anchors say, and the dialog no
// smaller than its least size. Made once the controls stand at the opening size.
class DialogAnchors : public QObject {
 public:
  // `controls` in the order of the dialog's table.
  DialogAnchors(QDialog* dialog, const layout::Resizing& resizing, const DialogUnits& units,
                std::vector<QWidget*> controls);
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QDialog* dialog_;
  const layout::Resizing& resizing_;
  QSize opened_;
  std::vector<std::pair<QWidget*, QRect>> placed_;
};

// The platform's standard dialog font at 8 points: the size the form was designed for.
QFont DialogFont();

}  // namespace tovarin::gui
