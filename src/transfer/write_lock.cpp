#include "transfer/write_lock.h"

#include <filesystem>

#include "platform/case_blind.h"
#include "platform/native_path.h"
#include "platform/paths.h"
#include "platform/safe_file.h"
#include "simdata/roster_file.h"
#include "transfer/backup.h"

namespace fs = std::filesystem;

namespace tovarin {
namespace {

constexpr const char* kTryAgain = ", so nothing was written. Try again when it has finished.";

// The lock file in `folder`, spelled as the folder is on disk, so that every spelling of one
// folder meets at one lock.
std::string LockPath(const std::string& folder) {
  std::string resolved = platform::ResolveCaseBlind(folder);
  if (!platform::EndsWithSeparator(resolved)) resolved += platform::kSeparator;
  return resolved + WriteLock::kFileName;
}

}  // namespace

bool WriteLock::LockOrganization(const std::string& organization, std::string* why) {
  const std::string path = LockPath(organization);
  std::string reason;
  switch (organization_.Lock(path, &reason)) {
    case platform::FileLock::Result::kLocked:
      // Only rosters are written there; whatever else looks like a temporary is the user's.
      platform::RemoveSafeWriteTemporaries(organization, IsRosterFileName);
      return true;
    case platform::FileLock::Result::kBusy:
      *why = "Another Build or restore is writing " + organization + kTryAgain;
      return false;
    case platform::FileLock::Result::kFailed:
      break;
  }
  *why = "Tovarin cannot lock " + organization + ", so nothing was written.\n" + path + ": " +
         reason;
  return false;
}

bool WriteLock::LockBackups(const std::string& root, std::string* why) {
  if (root.empty()) return true;
  std::error_code ec;
  fs::create_directories(platform::NativePath(root), ec);
  if (!fs::is_directory(platform::NativePath(root), ec)) return true;
  const std::string path = LockPath(root);
  std::string reason;
  switch (backups_.Lock(path, &reason)) {
    case platform::FileLock::Result::kLocked:
      BackupStore(root).RemoveUnfinished();
      return true;
    case platform::FileLock::Result::kBusy:
      *why = "Another Build or restore is using the backups in " + root + kTryAgain;
      return false;
    case platform::FileLock::Result::kFailed:
      break;
  }
  *why = "Tovarin cannot lock the backups in " + root + ", so nothing was written.\n" + path +
         ": " + reason;
  return false;
}

}  // namespace tovarin
