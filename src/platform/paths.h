#pragma once

#include <optional>
#include <string>

namespace tovarin::platform {

// Directory paths always end with the separator and are joined by plain concatenation.
#ifdef _WIN32
inline constexpr char kSeparator = '\\';
#else
inline constexpr char kSeparator = '/';
#endif

// The base directory used when none is set: the root of the system drive.
std::string RootDirectory();

// True for both separators on Windows, '/' elsewhere.
bool IsSeparator(char c);

bool EndsWithSeparator(const std::string& path);

// `path` made absolute against the current folder. Nothing, with `why`, when it is empty, or
// when it is relative and the current folder cannot be found (it was deleted).
std::optional<std::string> AbsolutePath(const std::string& path, std::string* why);

// The folder part of a file's path, up to and with its last separator; empty when it has none.
std::string DirectoryOf(const std::string& path);

// The per-user data folder, ending with the separator: $XDG_DATA_HOME (else ~/.local/share) on
// Linux, the local application data folder on Windows. Empty when the system names none.
std::string UserDataDirectory();

}  // namespace tovarin::platform
