#include <iostream>
#include <string>
#include <vector>

#include "cli/cli.h"

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#define isatty _isatty
#include "settings/registry_settings_store.h"
using UserSettingsStore = tovarin::RegistrySettingsStore;
#else
#include <unistd.h>
#include "gui/qt_settings_store.h"
using UserSettingsStore = tovarin::QtSettingsStore;
#endif

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
#ifdef _WIN32
  // Paths are ANSI bytes; a console shows the OEM code page unless told otherwise.
  SetConsoleOutputCP(GetACP());
  SetConsoleCP(GetACP());
#endif
  UserSettingsStore settings;
  tovarin::cli::Console console{std::cout, std::cerr, std::cin, isatty(0) && isatty(2), settings};
  return tovarin::cli::Run(args, console);
}
