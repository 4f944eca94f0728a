// tovarin.exe: the desktop window on Windows.

#include <windows.h>

#include <shellapi.h>

#include <string>
#include <vector>

#include "platform/native_path.h"
#include "settings/registry_settings_store.h"
#include "shell/menu_layout.h"
#include "win32/controls.h"
#include "win32/main_frame.h"
#include "win32/screenshot.h"

namespace {

std::vector<std::wstring> Arguments() {
  int count = 0;
  LPWSTR* list = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::wstring> arguments(list + (count > 0 ? 1 : 0), list + count);
  LocalFree(list);
  return arguments;
}

void Complain(const std::wstring& text) {
  const std::wstring title = tovarin::platform::Widen(tovarin::layout::kApplicationTitle);
  MessageBoxW(nullptr, text.c_str(), title.c_str(), MB_OK | MB_ICONEXCLAMATION);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
  // `--screenshot FILE` starts as usual, saves a BMP picture of the window and quits.
  std::wstring screenshot;
  const std::vector<std::wstring> arguments = Arguments();
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    if (arguments[i] == L"--screenshot" && i + 1 < arguments.size()) {
      screenshot = arguments[++i];
    } else {
      Complain(L"Unexpected argument: " + arguments[i] + L"\nUsage: tovarin [--screenshot FILE]");
      return 2;
    }
  }

  tovarin::RegistrySettingsStore settings;
  tovarin::win32::MainFrame frame(settings, instance);
  if (!frame.Create(showCommand)) {
    Complain(L"Failed to create empty document.");
    return 1;
  }
  if (!screenshot.empty()) {
    // The window draws itself first; a display that is still starting may refuse the first
    // attempts.
    for (int attempt = 0; attempt < 20; ++attempt) {
      MSG message;
      while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
      GdiFlush();
      Sleep(attempt == 0 ? 1500 : 250);
      if (tovarin::win32::SaveScreenshot(frame.handle(), tovarin::platform::Narrow(screenshot))) {
        return 0;
      }
    }
    Complain(L"Cannot write " + screenshot);
    return 1;
  }
  frame.view().GuideFirstStart();
  return frame.Run();
}
