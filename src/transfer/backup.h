#pragma once

#include <string>
#include <vector>

#include "platform/safe_file.h"

namespace tovarin {

// A Build's backup: the target rosters as they were before it replaced them.
struct BackupInfo {
  std::string name;          // the backup's folder name, which sorts oldest first
  std::string organization;  // the target organization directory
  std::string time;          // when the Build ran, "YYYY-MM-DD HH:MM:SS"
  std::size_t files = 0;     // rosters it puts back (or removes, when they did not exist)
};

// The backups of the Builds, kept in a folder outside the simulation's tree, one folder per
// Build with a manifest of the original paths. Only the newest kKept are kept.
class BackupStore {
 public:
  static constexpr std::size_t kKept = 20;

  // `root` ends with the separator.
  // Its files are written through `writer`, which must outlive it.
  explicit BackupStore(std::string root,
                       const platform::FileWriter& writer = platform::SystemFileWriter())
      : root_(std::move(root)), writer_(writer) {}

  // The per-user backup folder; empty when the system names no per-user data folder.
  static std::string DefaultRoot();

  // Copies the files at `paths` (a missing one is recorded as absent, so that putting it back
  // removes what the Build created) into a new backup of organization `organization`, labelled
  // `label` in its folder name. False, with `why`, when the backup cannot be made whole.
  bool Create(const std::string& organization, const std::string& label,
              const std::vector<std::string>& paths, std::string* why);

  // The complete backups, oldest first.
  std::vector<BackupInfo> List() const;

  // Puts back the files of backup `name` (the newest when empty), each replaced safely.
  // `restored` receives the backup put back.
  bool Restore(const std::string& name, std::string* why, BackupInfo* restored = nullptr);

  const std::string& root() const { return root_; }

 private:
  std::string root_;
  const platform::FileWriter& writer_;
};

}  // namespace tovarin
