#include <iostream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "gui/qt_settings_store.h"

#ifdef _WIN32
#include <io.h>
#define isatty _isatty
#else
#include <unistd.h>
#endif

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  tovarin::QtSettingsStore settings;
  tovarin::cli::Console console{std::cout, std::cerr, std::cin, isatty(0) && isatty(2), settings};
  return tovarin::cli::Run(args, console);
}
