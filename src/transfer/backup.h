#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "platform/safe_file.h"

namespace tovarin {

class WriteLock;

// A Build's backup: the target rosters as they were before it replaced them.
struct BackupInfo {
  std::string name;          // the backup's folder name
  std::string organization;  // the target organization directory
  std::string time;          // when the Build ran, "YYYY-MM-DD HH:MM:SS UTC"
  std::size_t files = 0;     // rosters it puts back (or removes, when they did not exist)
  std::string damage;        // why it cannot be put back; empty when it is whole
  std::string restoring;     // the backup a restore was about to put back when it made this one;
                             // empty for a Build's
  std::string putBack;       // when it was last put back, as `time`; empty when never
};

// What a backup was made before: "the Build of TIME" or "the restore of TIME".
std::string BackupEvent(const BackupInfo& backup);

// The backups of the Builds, kept in a folder outside the simulation's tree, one folder per
// Build with a manifest of the original paths, sizes and checksums. A backup's folder name starts
// with its sequence number, which grows with every backup whatever the clock says, so the order
// of the backups is the order of the Builds; then comes the time in UTC. Only the newest kKept
// are kept. Create, Discard and RemoveUnfinished are for a Build that holds the WriteLock of the
// store's folder.
class BackupStore {
 public:
  static constexpr std::size_t kKept = 20;

  using Clock = std::function<std::chrono::system_clock::time_point()>;

  // `root` ends with the separator. Its files are written through `writer`, which must outlive
  // it; a backup is named after the time `now` gives (the system clock's when empty).
  explicit BackupStore(std::string root,
                       const platform::FileWriter& writer = platform::SystemFileWriter(),
                       Clock now = {});

  // The per-user backup folder; empty when the system names no per-user data folder.
  static std::string DefaultRoot();

  // Copies the roster files at `paths`, all inside `organization`, into a new backup labelled
  // `label` in its folder name. A missing roster is recorded as absent, so that putting it back
  // removes what the Build created. With no paths nothing is kept. False, with `why`, when the
  // backup cannot be made whole; what was made of it is removed. `made` receives the new
  // backup's name (empty when none).
  // `restoring` names the backup a restore is about to put back, when it is a restore's.
  bool Create(const std::string& organization, const std::string& label,
              const std::vector<std::string>& paths, std::string* why,
              std::string* made = nullptr, const std::string& restoring = "");

  // Prunes the oldest backups beyond kKept, each whole or not at all, never `keep`; for a Build
  // that has replaced a roster, so that a Build that changed nothing costs no backup. `notes`
  // receives a line for each that could not be removed.
  void PruneOld(const std::string& keep, std::vector<std::string>* notes = nullptr);

  // Removes backup `name`, as for a Build that then replaced nothing.
  void Discard(const std::string& name);

  // Removes the folders that an interrupted Create left behind (no manifest), and what a
  // pruning could not remove.
  void RemoveUnfinished();

  // The backups, damaged ones too, oldest first. Unfinished ones are not listed, nor folders
  // named otherwise than Tovarin names its backups.
  std::vector<BackupInfo> List() const;

  // Puts back the files of backup `name` (the newest when empty). Every copy is checked against
  // its manifest, and every file to be replaced read, before the first is replaced; when a
  // replacement fails nonetheless, the files already put back are returned to how they were.
  // First the rosters it replaces are kept in a backup of their own, so that a restore is
  // undone as a Build is; the backup put back is marked with the time. `restored` receives the
  // backup put back. Locks the backup folder and the organization.
  bool Restore(const std::string& name, std::string* why, BackupInfo* restored = nullptr);

  // Restore for a Build that holds the WriteLock of the organization and of the store's folder.
  bool RestoreLocked(const std::string& name, std::string* why);

  const std::string& root() const { return root_; }

 private:
  // Removes backup `name` whole: set aside under a name no backup has, then removed. False,
  // with `why`, when it could not be set aside (it stays whole and listed) or removed.
  bool Prune(const std::string& name, std::string* why);
  bool PutBack(const std::string& name, std::string* why, BackupInfo* restored, WriteLock* lock);

  std::string root_;
  const platform::FileWriter& writer_;
  Clock now_;
};

}  // namespace tovarin
