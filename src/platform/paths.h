#pragma once

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

// The per-user data folder, ending with the separator: $XDG_DATA_HOME (else ~/.local/share) on
// Linux, the local application data folder on Windows. Empty when the system names none.
std::string UserDataDirectory();

}  // namespace tovarin::platform
