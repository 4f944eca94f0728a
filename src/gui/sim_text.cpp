#include "gui/sim_text.h"

#include "shell/sim_text.h"

namespace tovarin::gui {

QString FromWindows1252(const std::string& text) {
  return QString::fromStdString(DisplayText(text));
}

}  // namespace tovarin::gui
