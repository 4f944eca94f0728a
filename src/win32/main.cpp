// tovarin.exe: the desktop window on Windows.

#include <windows.h>

#include <string>
#include <vector>

#include "platform/native_path.h"
#include "platform/running_mark.h"
#include "settings/registry_settings_store.h"
#include "shell/menu_layout.h"
#include "win32/controls.h"
#include "win32/main_frame.h"

namespace {

void Complain(const std::wstring& text) {
  const std::wstring title = tovarin::platform::Widen(tovarin::layout::kApplicationTitle);
  MessageBoxW(nullptr, text.c_str(), title.c_str(), MB_OK | MB_ICONEXCLAMATION);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
  tovarin::platform::MarkRunning();
  const std::vector<std::string> arguments = tovarin::platform::ProgramArguments(0, nullptr);
  if (!arguments.empty()) {
    Complain(L"Unexpected argument: " + tovarin::platform::Widen(arguments[0]) +
             L"\nUsage: tovarin");
    return 2;
  }
  // A screen reader's requests for the lists' accessible objects are answered through COM.
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  tovarin::RegistrySettingsStore settings;
  tovarin::win32::MainFrame frame(settings, instance);
  if (!frame.Create(showCommand)) {
    Complain(L"Failed to create empty document.");
    return 1;
  }
  frame.view().GuideFirstStart();
  return frame.Run();
}
