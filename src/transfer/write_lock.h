#pragma once

#include <string>

#include "platform/file_lock.h"

namespace tovarin {

// Keeps every other Build and restore out of what this one writes: the target organization (a
// lock file beside its rosters) and the backup folder. Held until destroyed; the system lets go
// of it when the process ends, however it ends.
class WriteLock {
 public:
  static constexpr const char* kFileName = "Tovarin.lock";

  // Locks the organization folder `organization` and removes the temporary rosters an
  // interrupted Build left in it. False, with the message to show, when another holds it or it cannot be
  // locked.
  bool LockOrganization(const std::string& organization, std::string* why);

  // Locks the backup folder `root`, creating it, and removes the unfinished backups an
  // interrupted Build left in it. A folder that cannot be made is left to the backup to report.
  bool LockBackups(const std::string& root, std::string* why);

 private:
  platform::FileLock organization_;
  platform::FileLock backups_;
};

}  // namespace tovarin
