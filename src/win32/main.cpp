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
  const std::vector<std::wstring> arguments = Arguments();
  if (!arguments.empty()) {
    Complain(L"Unexpected argument: " + arguments[0] + L"\nUsage: tovarin");
    return 2;
  }
  tovarin::RegistrySettingsStore settings;
  tovarin::win32::MainFrame frame(settings, instance);
  if (!frame.Create(showCommand)) {
    Complain(L"Failed to create empty document.");
    return 1;
  }
  frame.view().GuideFirstStart();
  return frame.Run();
}
