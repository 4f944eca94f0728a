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

// Whether `path` is a full path: from "/" here; on Windows from a drive ("C:\"), a share
// ("\\server\share\"), or "\\?\" with either.
bool IsAbsolutePath(const std::string& path);

// The path as the system spells the file or folder it names, through the entries it goes
// through: each by its own long name in its own letter case ("..", trailing dots and short
// (8.3) names resolved), a link kept as the link the user reached, never its target. On Windows
// it keeps the form it was given in: a "\\?\" path stays one and names exactly what it says, a
// share stays "\\server\share\...". Nothing when nothing is there.
std::optional<std::string> SpelledOnDisk(const std::string& path);

// `path` less its final separators, split at the last separator into the folder before it (with
// its separator) and the last name.
void SplitLastName(const std::string& path, std::string& folder, std::string& name);

// Whether Windows takes a file named `name` for a device (CON, PRN, AUX, NUL, COM1-9, LPT1-9,
// also with an extension or trailing dots and spaces): such a folder can be made, but not
// reopened by the name Windows programs use.
bool IsReservedDeviceName(const std::string& name);

// The folder part of a file's path, up to and with its last separator; empty when it has none.
std::string DirectoryOf(const std::string& path);

// The per-user data folder, ending with the separator: $XDG_DATA_HOME (else ~/.local/share) on
// Linux, the local application data folder on Windows. Empty when the system names none.
std::string UserDataDirectory();

}  // namespace tovarin::platform
