#include "platform/paths.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "platform/case_blind.h"
#include "platform/native_path.h"

#ifdef _WIN32
#include <windows.h>
#include <knownfolders.h>
#include <shlobj.h>
#else
#include <climits>
#include <cstdlib>
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
#ifdef _WIN32
  std::wstring wide;
  if (!ToWide(path, wide)) {
    if (why) *why = kNotPathText;
    return std::nullopt;
  }
  // A "\\?\" path is taken by the system as it stands; made "absolute" it would become a
  // folder named "?" on the current drive.
  if (path.rfind("\\\\?\\", 0) == 0) return path;
  // A last name such as COM1 would be read as the device itself ("\\.\COM1"): the folder it
  // stands in is made full, and the name kept.
  std::string folder, name;
  SplitLastName(path, folder, name);
  const bool device = IsReservedDeviceName(name) && !folder.empty();
  if (device) ToWide(folder, wide);
  // The system's own reading of the path, which keeps a share ("\\server\share\...") a share.
  DWORD size = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
  std::wstring full(size, L'\0');
  size = size ? GetFullPathNameW(wide.c_str(), size, full.data(), nullptr) : 0;
  if (size == 0 || size >= full.size()) {
    if (why) *why = "the system cannot make it a full path";
    return std::nullopt;
  }
  full.resize(size);
  return Narrow(full) + (device ? name : "");
#else
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
#endif
}

std::optional<std::string> SpelledOnDisk(const std::string& path) {
#ifdef _WIN32
  std::wstring wide;
  if (path.empty() || !ToWide(path, wide)) return std::nullopt;
  // Opening "...\COM1" opens the port, not the folder; such a name is told as given.
  for (std::size_t at = 0; at < path.size();) {
    std::size_t end = at;
    while (end < path.size() && !IsSeparator(path[end])) ++end;
    if (IsReservedDeviceName(path.substr(at, end - at))) return std::nullopt;
    at = end + 1;
  }
  const HANDLE handle = CreateFileW(wide.c_str(), FILE_READ_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return std::nullopt;
  std::wstring final(MAX_PATH, L'\0');
  DWORD size = GetFinalPathNameByHandleW(handle, final.data(), static_cast<DWORD>(final.size()),
                                         FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
  if (size >= final.size()) {
    final.resize(size + 1);
    size = GetFinalPathNameByHandleW(handle, final.data(), static_cast<DWORD>(final.size()),
                                     FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
  }
  CloseHandle(handle);
  if (size == 0 || size >= final.size()) return std::nullopt;
  final.resize(size);
  std::string spelled = Narrow(final);
  // The system answers "\\?\C:\..." or "\\?\UNC\server\share\..."; given without that
  // prefix, the path is told back without it.
  const std::string verbatim = "\\\\?\\", unc = "\\\\?\\UNC\\";
  if (path.rfind(verbatim, 0) != 0) {
    if (spelled.rfind(unc, 0) == 0) {
      spelled = "\\\\" + spelled.substr(unc.size());
    } else if (spelled.rfind(verbatim, 0) == 0) {
      spelled = spelled.substr(verbatim.size());
    }
  }
  return spelled;
#else
  if (path.empty()) return std::nullopt;
  char resolved[PATH_MAX];
  if (!realpath(ResolveCaseBlind(path).c_str(), resolved)) return std::nullopt;
  return std::string(resolved);
#endif
}

void SplitLastName(const std::string& path, std::string& folder, std::string& name) {
  std::size_t end = path.size();
  while (end > 1 && IsSeparator(path[end - 1])) --end;
  folder = DirectoryOf(path.substr(0, end));
  name = path.substr(folder.size(), end - folder.size());
}

bool IsReservedDeviceName(const std::string& name) {
  std::string stem = ToUpper(name.substr(0, name.find('.')));
  while (!stem.empty() && stem.back() == ' ') stem.pop_back();
  if (stem == "CON" || stem == "PRN" || stem == "AUX" || stem == "NUL") return true;
  // COM0 and LPT0 too, and the superscript digits newer Windows also counts.
  for (const char* device : {"COM", "LPT"}) {
    if (stem.rfind(device, 0) != 0) continue;
    const std::string digit = stem.substr(3);
    if ((digit.size() == 1 && digit[0] >= '0' && digit[0] <= '9') || digit == "\xC2\xB9" ||
        digit == "\xC2\xB2" || digit == "\xC2\xB3") {
      return true;
    }
  }
  return false;
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
    dir = Narrow(local);  // a profile named in any letters, without loss
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
