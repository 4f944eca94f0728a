#pragma once

#include <QString>
#include <string>

namespace tovarin::gui {

// Text of the simulation's files (names of players and teams), which is Windows-1252 whatever
// the system's own code page.
QString FromWindows1252(const std::string& text);

}  // namespace tovarin::gui
