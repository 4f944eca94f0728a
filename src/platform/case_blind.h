#pragma once

#include <string>
#include <vector>

namespace tovarin::platform {

// The simulation's platform ignores letter case in file names. These functions give the same
// results on file systems that do not.

// Case-blind equality and upper case: ASCII, and the letters of the Latin, Greek and Cyrillic
// alphabets in UTF-8 (Québec.WDD shows as QUÉBEC.WDD), as the system's own lists raise them.
bool EqualsIgnoreCase(const std::string& a, const std::string& b);
bool StartsWithIgnoreCase(const std::string& text, const std::string& prefix);
std::string ToUpper(std::string text);
std::string ToLower(std::string text);

// The path as it stands on disk: each component is taken as given when it exists, otherwise the
// first directory entry, in sorted order, that equals it without regard to case. From the first
// component that matches nothing on, the rest is kept as given, so a file about to be created
// keeps its name while an existing one under another case is the one opened or replaced.
std::string ResolveCaseBlind(const std::string& path);

// A file's path for a message: as ResolveCaseBlind gives it, and on Windows too with the file's
// own name in its own letter case, as its folder lists it (the folder as given).
std::string FileNameAsSpelled(const std::string& path);

// The folder at `path` and its twins: the folders beside it whose names differ from its own only
// in letter case, each as spelled on disk, without a final separator, sorted. Empty when `path`
// has no twin.
std::vector<std::string> CaseTwinFolders(const std::string& path);

// True when `name` matches the wildcard `pattern` ('*' and '?'), without regard to case.
bool WildcardMatch(const std::string& pattern, const std::string& name);

// Names of the subdirectories of `directory` (resolved case-blind) whose names match `pattern`,
// in no particular order. Plain files never appear. A missing or unreadable directory lists none.
std::vector<std::string> ListSubdirectories(const std::string& directory,
                                            const std::string& pattern);

}  // namespace tovarin::platform
