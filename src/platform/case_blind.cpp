#include "platform/case_blind.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "platform/native_path.h"
#include "platform/paths.h"
#include "platform/utf8.h"

namespace fs = std::filesystem;

namespace tovarin::platform {
namespace {

fs::path Directory(const std::string& directory) {
  return directory.empty() ? fs::path(".") : NativePath(directory);
}

char UpperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }
char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// The capital of a letter of the Latin, Greek and Cyrillic alphabets, as Windows raises them in
// its drop-down lists; any other character as it is. The same on every system, so a name shows
// alike everywhere.
long UpperLetter(long c) {
  if (c >= 'a' && c <= 'z') return c - 0x20;
  if (c < 0x80) return c;
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 0x20;
  if (c == 0xFF) return 0x178;
  // Latin Extended-A pairs capital and small letter, the capital first, but for two runs.
  const bool oddCapitals = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
  if (c >= 0x100 && c <= 0x17E && c != 0x130 && c != 0x131 && c != 0x138 && c != 0x149) {
    return (c % 2 == (oddCapitals ? 0 : 1)) ? c - 1 : c;
  }
  if (c == 0x3C2) return 0x3A3;  // final sigma
  if (c >= 0x3B1 && c <= 0x3C9) return c - 0x20;
  if (c >= 0x430 && c <= 0x44F) return c - 0x20;
  if (c >= 0x450 && c <= 0x45F) return c - 0x50;
  return c;
}

#ifndef _WIN32
bool Exists(const std::string& path) {
  std::error_code ec;
  return fs::exists(fs::symlink_status(fs::path(path), ec));
}

// The first entry of `directory`, in sorted order, equal to `name` without regard to case.
std::string FindEntryIgnoreCase(const std::string& directory, const std::string& name) {
  std::error_code ec;
  fs::directory_iterator it(Directory(directory), ec);
  std::string best;
  bool found = false;
  for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
    std::string entry = PathText(it->path().filename());
    if (EqualsIgnoreCase(entry, name) && (!found || entry < best)) {
      best = std::move(entry);
      found = true;
    }
  }
  return found ? best : std::string();
}
#endif

}  // namespace

bool EqualsIgnoreCase(const std::string& a, const std::string& b) {
  return ToUpper(a) == ToUpper(b);
}

bool StartsWithIgnoreCase(const std::string& text, const std::string& prefix) {
  const std::string upperText = ToUpper(text), upperPrefix = ToUpper(prefix);
  return upperText.compare(0, upperPrefix.size(), upperPrefix) == 0;
}

std::string ToUpper(std::string text) {
  std::string upper;
  upper.reserve(text.size());
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t start = at;
    const long code = NextCodePoint(text, at);
    if (code < 0) {
      upper += text[start];  // not UTF-8: a byte of the file system's own, kept
      at = start + 1;
    } else {
      AppendUtf8(upper, UpperLetter(code));
    }
  }
  return upper;
}

std::string ToLower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), LowerAscii);
  return text;
}

std::string ResolveCaseBlind(const std::string& path) {
#ifdef _WIN32
  return path;  // the file system already ignores case
#else
  std::string resolved;
  std::size_t pos = 0;
  while (pos < path.size()) {
    if (IsSeparator(path[pos])) {
      resolved += path[pos++];
      continue;
    }
    std::size_t end = pos;
    while (end < path.size() && !IsSeparator(path[end])) ++end;
    const std::string component = path.substr(pos, end - pos);
    if (component == "." || component == ".." || Exists(resolved + component)) {
      resolved += component;
    } else {
      const std::string match = FindEntryIgnoreCase(resolved, component);
      if (match.empty()) return resolved + path.substr(pos);
      resolved += match;
    }
    pos = end;
  }
  return resolved;
#endif
}

std::string FileNameAsSpelled(const std::string& path) {
  const std::string resolved = ResolveCaseBlind(path);
#ifdef _WIN32
  const std::string folder = DirectoryOf(resolved);
  const std::string name = resolved.substr(folder.size());
  if (name.empty() || IsReservedDeviceName(name)) return resolved;
  std::string listed;  // a name that differs in case only, should the exact one not be there
  std::error_code ec;
  fs::directory_iterator it(Directory(folder), ec);
  for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
    const std::string entry = PathText(it->path().filename());
    if (entry == name) return resolved;
    if (listed.empty() && EqualsIgnoreCase(entry, name)) listed = entry;
  }
  if (!listed.empty()) return folder + listed;
#endif
  return resolved;
}

std::vector<std::string> CaseTwinFolders(const std::string& path) {
  // Windows too: a folder can be made case-sensitive there, and then holds such twins.
  std::vector<std::string> twins;
  std::string folder = ResolveCaseBlind(path);
  while (folder.size() > 1 && EndsWithSeparator(folder)) folder.pop_back();
  const std::string parent = DirectoryOf(folder);
  const std::string name = folder.substr(parent.size());
  if (name.empty() || name == "." || name == "..") return twins;
  std::error_code ec;
  fs::directory_iterator it(Directory(parent), ec);
  for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
    std::error_code typeError;
    const std::string entry = PathText(it->path().filename());
    if (EqualsIgnoreCase(entry, name) && it->is_directory(typeError)) twins.push_back(parent + entry);
  }
  if (twins.size() < 2) twins.clear();
  std::sort(twins.begin(), twins.end());
  return twins;
}

bool WildcardMatch(const std::string& pattern, const std::string& name) {
  // Iterative matcher with single-star backtracking: linear in practice, never recursive.
  std::size_t p = 0, n = 0, starP = std::string::npos, starN = 0;
  while (n < name.size()) {
    if (p < pattern.size() &&
        (pattern[p] == '?' || UpperAscii(pattern[p]) == UpperAscii(name[n]))) {
      ++p;
      ++n;
    } else if (p < pattern.size() && pattern[p] == '*') {
      starP = p++;
      starN = n;
    } else if (starP != std::string::npos) {
      p = starP + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

std::vector<std::string> ListSubdirectories(const std::string& directory,
                                            const std::string& pattern) {
  std::vector<std::string> names;
  const std::string resolved = ResolveCaseBlind(directory);
  std::error_code ec;
  fs::directory_iterator it(Directory(resolved), ec);
  for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
    std::error_code typeError;
    if (!it->is_directory(typeError)) continue;
    std::string name = PathText(it->path().filename());
    if (WildcardMatch(pattern, name)) names.push_back(std::move(name));
  }
  return names;
}

}  // namespace tovarin::platform
