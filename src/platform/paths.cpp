#include "platform/paths.h"

#include <cstdlib>

#ifdef _WIN32
#include <windows.h>
#include <knownfolders.h>
#include <shlobj.h>

#include "platform/native_path.h"
#endif

namespace tovarin::platform {

std::string RootDirectory() {
#ifdef _WIN32
  return "C:\\";
#else
  return "/";
#endif
}

bool IsSeparator(char c) {
#ifdef _WIN32
  return c == '\\' || c == '/';
#else
  return c == '/';
#endif
}

bool EndsWithSeparator(const std::string& path) {
  return !path.empty() && IsSeparator(path.back());
}

std::string UserDataDirectory() {
  auto withSeparator = [](std::string dir) {
    if (!dir.empty() && !EndsWithSeparator(dir)) dir += kSeparator;
    return dir;
  };
#ifdef _WIN32
  wchar_t* local = nullptr;
  std::string dir;
  if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_LocalAppData, 0, nullptr, &local))) {
    dir = Narrow(local);
  }
  CoTaskMemFree(local);
  return withSeparator(dir);
#else
  // Only an absolute XDG_DATA_HOME counts; a relative one is to be ignored.
  const char* xdg = std::getenv("XDG_DATA_HOME");
  if (xdg && xdg[0] == '/') return withSeparator(xdg);
  const char* home = std::getenv("HOME");
  if (home && home[0] != '\0') return withSeparator(std::string(home) + "/.local/share");
  return "";
#endif
}

}  // namespace tovarin::platform
