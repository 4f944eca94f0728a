#pragma once

#include <QWidget>

#include "shell/form_layout.h"

namespace tovarin::gui {

// Gives `widget` the name the shell's table has for control `id` of `dialog`, the one a screen
// reader speaks for it. Nothing when the control has a text of its own.
void NameControl(QWidget& widget, const layout::DialogLayout& dialog, int id);

// Has the style draw the focus in `window` and its controls (those it has now) however it came,
// not only after a Tab: a focused push button then differs from the same button unfocused, and
// Enter's target is seen. A list there that takes the focus with no row selected selects its
// first.
void ShowFocusAlways(QWidget& window);

// A file dialog's name filters of `picker`: "Text files (*.txt)", "All files (*)".
QStringList NameFilters(const layout::FilePicker& picker);

}  // namespace tovarin::gui
