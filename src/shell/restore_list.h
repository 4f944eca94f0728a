#pragma once

#include <array>
#include <span>
#include <string>
#include <vector>

#include "shell/form_layout.h"
#include "transfer/backup.h"

namespace tovarin {

// The Restore Build dialog's list, drawn alike by both windows: one row per kept backup, newest
// first. A damaged backup is listed too, marked, so that the user sees why it is not offered.
struct RestoreRow {
  std::string name;                 // the backup's folder name, which Restore takes
  std::array<std::string, 3> cells;  // under RestoreColumns(): time, organization, rosters
  std::string damage;               // why it cannot be put back; empty when it is whole
  std::string event;                // "the Build of TIME" or "the restore of TIME"
  std::string putBack;              // when it was last put back; empty when never
  bool damaged() const { return !damage.empty(); }
};

using RestoreColumn = layout::ListColumn;
std::span<const RestoreColumn> RestoreColumns();

// `backups` as BackupStore::List gives them, oldest first.
std::vector<RestoreRow> RestoreRows(const std::vector<BackupInfo>& backups);

// The line under the list for the selected row: what Restore would do, or why it cannot.
std::string RestoreDetail(const RestoreRow& row);

}  // namespace tovarin
