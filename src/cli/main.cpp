#include <iostream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "settings/user_settings.h"
#include "transfer/backup.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace {

// Whether a person can answer the one question: both its prompt and the answer go through a
// console. (On Windows _isatty also holds for NUL, so the console itself is asked.)
bool OnConsole() {
#ifdef _WIN32
  DWORD mode = 0;
  return GetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), &mode) &&
         GetConsoleMode(GetStdHandle(STD_ERROR_HANDLE), &mode);
#else
  return isatty(0) && isatty(2);
#endif
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
#ifdef _WIN32
  // Paths are ANSI bytes; a console shows the OEM code page unless told otherwise. The console
  // outlives the program, so it gets its own code pages back.
  const UINT outputCodePage = GetConsoleOutputCP(), inputCodePage = GetConsoleCP();
  SetConsoleOutputCP(GetACP());
  SetConsoleCP(GetACP());
#endif
  tovarin::UserSettingsStore settings;
  tovarin::cli::Console console{std::cout, std::cerr, std::cin, OnConsole(), settings,
                                tovarin::BackupStore::DefaultRoot()};
  const int status = tovarin::cli::Run(args, console);
#ifdef _WIN32
  std::cout.flush();
  std::cerr.flush();
  if (outputCodePage) SetConsoleOutputCP(outputCodePage);
  if (inputCodePage) SetConsoleCP(inputCodePage);
#endif
  return status;
}
