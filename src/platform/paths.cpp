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
#include <sys/stat.h>

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

#ifdef _WIN32
namespace {

// The length of the root of a full path: "C:\", "\\server\share\", "\\?\C:\" or
// "\\?\UNC\server\share\"; 0 when it has none of these.
std::size_t RootLength(const std::wstring& path) {
  std::size_t at = 0;
  const std::wstring verbatim = L"\\\\?\\";
  if (path.compare(0, verbatim.size(), verbatim) == 0) {
    at = verbatim.size();
    if (path.compare(at, 4, L"UNC\\") != 0) {
      return path.size() >= at + 3 && path[at + 1] == L':' && path[at + 2] == L'\\' ? at + 3 : 0;
    }
    at += 4;
  } else if (path.size() >= 3 && path[1] == L':' && path[2] == L'\\') {
    return 3;
  } else if (path.compare(0, 2, L"\\\\") == 0) {
    at = 2;
  } else {
    return 0;
  }
  // A share: its server's and its share's names.
  const std::size_t server = path.find(L'\\', at);
  if (server == std::wstring::npos || server == at) return 0;
  const std::size_t share = path.find(L'\\', server + 1);
  if (share == server + 1) return 0;
  return share == std::wstring::npos ? path.size() : share + 1;
}

}  // namespace
#endif

bool IsAbsolutePath(const std::string& path) {
#ifdef _WIN32
  std::wstring wide;
  if (!ToWide(path, wide)) return false;
  for (wchar_t& c : wide) {
    if (c == L'/') c = L'\\';
  }
  return RootLength(wide) > 0;
#else
  return !path.empty() && path[0] == '/';
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
  // A "\\?\" path names exactly what it says; any other is read as the system reads it, "..",
  // trailing dots and "/" resolved.
  if (wide.rfind(L"\\\\?\\", 0) != 0) {
    DWORD size = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    std::wstring full(size, L'\0');
    size = size ? GetFullPathNameW(wide.c_str(), size, full.data(), nullptr) : 0;
    if (size == 0 || size >= full.size()) return std::nullopt;
    full.resize(size);
    wide = full;
  }
  const std::size_t root = RootLength(wide);
  if (root == 0) return std::nullopt;
  // Each entry by its own long name, as its folder lists it: a short name or another letter
  // case becomes the entry's name, and a link stays the link the path goes through.
  std::wstring spelled = wide.substr(0, root);
  for (std::size_t at = root; at < wide.size();) {
    std::size_t end = wide.find(L'\\', at);
    if (end == std::wstring::npos) end = wide.size();
    const std::wstring name = wide.substr(at, end - at);
    at = end + 1;
    if (name.empty()) continue;
    if (name.find_first_of(L"*?") != std::wstring::npos) return std::nullopt;
    if (spelled.back() != L'\\') spelled += L'\\';
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW((spelled + name).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return std::nullopt;
    FindClose(search);
    spelled += found.cFileName;
  }
  return Narrow(spelled);
#else
  if (path.empty()) return std::nullopt;
  // Links are not followed: the names are those of the entries the path goes through, each as
  // its folder spells it. Only where ".." after a link leads elsewhere than it reads is the
  // system's own answer taken.
  std::string normal = PathText(NativePath(path).lexically_normal());
  while (normal.size() > 1 && IsSeparator(normal.back())) normal.pop_back();
  const std::string spelled = ResolveCaseBlind(normal);
  struct stat lexical {};
  struct stat physical {};
  const std::string given = ResolveCaseBlind(path);
  if (stat(given.c_str(), &physical) != 0) return std::nullopt;
  if (stat(spelled.c_str(), &lexical) == 0 && lexical.st_dev == physical.st_dev &&
      lexical.st_ino == physical.st_ino) {
    return spelled;
  }
  char resolved[PATH_MAX];
  if (!realpath(given.c_str(), resolved)) return std::nullopt;
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
