#pragma once

#include <windows.h>

#include <string>

namespace tovarin::win32 {

// How a row of a list box is read aloud, from the text it shows (UTF-8).
using SpokenRowText = std::string (*)(const std::string& shown);

// Answers WM_GETOBJECT for the list box `list`: its accessible object as the system makes it,
// with each row named by `spoken` (the target list's columns read as words, not a tab). 0 when
// it cannot be made, and the system's own object serves.
LRESULT SpokenRowsObject(HWND list, WPARAM wParam, LPARAM lParam, SpokenRowText spoken);

}  // namespace tovarin::win32
