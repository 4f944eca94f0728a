#include "platform/paths.h"

#include <cstdarg>
#include <cstdlib>
#include <cstdio>
#include <vector>

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

int HorizontalDialogBaseUnit() {
#ifdef _WIN32
  return LOWORD(GetDialogBaseUnits());
#else
  return 8;  // the system font's average width on the simulation's platform
#endif
}

std::string Format(const char* format, ...) {
  va_list args;
  va_start(args, format);
  va_list copy;
  va_copy(copy, args);
  const int length = std::vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  std::string result;
  if (length > 0) {
    std::vector<char> buffer(static_cast<std::size_t>(length) + 1);
    std::vsnprintf(buffer.data(), buffer.size(), format, args);
    result.assign(buffer.data(), static_cast<std::size_t>(length));
  }
  va_end(args);
  return result;
}

}  // namespace tovarin::platform
