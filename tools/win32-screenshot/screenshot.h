#pragma once

#include <windows.h>

#include <string>

namespace tovarin::win32 {

// Saves what the screen shows of `window` (frame, menu and all) as a 24-bit BMP file.
// False when the picture cannot be taken or written.
bool SaveScreenshot(HWND window, const std::string& path);

}  // namespace tovarin::win32
