#include "platform/paths.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "platform/native_path.h"

#ifdef _WIN32
#include <windows.h>
#include <knownfolders.h>
#include <shlobj.h>
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

std::optional<std::string> AbsolutePath(const std::string& path, std::string* why) {
  if (path.empty()) {
    if (why) *why = "the path is empty";
    return std::nullopt;
  }
  std::error_code ec;
  const std::filesystem::path absolute = std::filesystem::absolute(NativePath(path), ec);
  if (ec) {
    if (why) {
      *why = "a relative path needs the current folder, which cannot be found (" + ec.message() +
             ")";
    }
    return std::nullopt;
  }
  return PathText(absolute);
}

std::string DirectoryOf(const std::string& path) {
  std::size_t end = path.size();
  while (end > 0 && !IsSeparator(path[end - 1])) --end;
  return path.substr(0, end);
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
