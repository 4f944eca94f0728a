#include <iostream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "platform/safe_file.h"
#include "settings/user_settings.h"

#ifdef _WIN32
#include <io.h>
#define isatty _isatty
#else
#include <unistd.h>
#endif

int main(int argc, char** argv) {
  tovarin::platform::IgnoreFileSizeLimitSignal();
  std::vector<std::string> args(argv + 1, argv + argc);
  tovarin::UserSettingsStore settings;
  tovarin::cli::Console console{std::cout, std::cerr, std::cin, isatty(0) && isatty(2), settings};
  return tovarin::cli::Run(args, console);
}
