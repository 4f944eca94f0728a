// tovarin-window-screenshot: starts the Windows window as tovarin.exe would, on the settings in
// the registry, saves a BMP picture of it and quits. For the README's picture.

#include <windows.h>

#include <string>
#include <vector>

#include "platform/native_path.h"
#include "settings/registry_settings_store.h"
#include "win32-screenshot/screenshot.h"
#include "win32/main_frame.h"

int main(int argc, char** argv) {
  const std::vector<std::string> arguments = tovarin::platform::ProgramArguments(argc, argv);
  if (arguments.size() != 1) {
    std::fputs("Usage: tovarin-window-screenshot FILE.bmp\n", stderr);
    return 2;
  }
  tovarin::RegistrySettingsStore settings;
  tovarin::win32::MainFrame frame(settings, GetModuleHandleW(nullptr));
  if (!frame.Create(SW_SHOWNORMAL)) {
    std::fputs("tovarin-window-screenshot: the window cannot be created\n", stderr);
    return 1;
  }
  // The window draws itself first; a display that is still starting may refuse the first
  // attempts.
  for (int attempt = 0; attempt < 20; ++attempt) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    GdiFlush();
    Sleep(attempt == 0 ? 1500 : 250);
    if (tovarin::win32::SaveScreenshot(frame.handle(), arguments[0])) return 0;
  }
  std::fprintf(stderr, "tovarin-window-screenshot: cannot write %s\n", arguments[0].c_str());
  return 1;
}
