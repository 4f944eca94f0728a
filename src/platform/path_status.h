#pragma once

#include <string>

namespace tovarin::platform {

// Whether anything stands at `path`, found without regard to letter case: a file, a folder, a
// special file or a link, also one that leads nowhere.
bool PathExists(const std::string& path);

// Whether `path` itself (found without regard to letter case) is a symbolic link.
bool IsSymbolicLink(const std::string& path);

}  // namespace tovarin::platform
