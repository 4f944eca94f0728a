#include "platform/path_status.h"

#include <filesystem>

#include "platform/case_blind.h"
#include "platform/native_path.h"

namespace tovarin::platform {

bool PathExists(const std::string& path) {
  std::error_code ec;
  return std::filesystem::exists(
      std::filesystem::symlink_status(NativePath(ResolveCaseBlind(path)), ec));
}

bool IsSymbolicLink(const std::string& path) {
  std::error_code ec;
  return std::filesystem::is_symlink(
      std::filesystem::symlink_status(NativePath(ResolveCaseBlind(path)), ec));
}

}  // namespace tovarin::platform
