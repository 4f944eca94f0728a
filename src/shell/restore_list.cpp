#include "shell/restore_list.h"

namespace tovarin {

std::span<const RestoreColumn> RestoreColumns() {
  static constexpr std::array<RestoreColumn, 3> columns = {{
      {"Build time", 90},
      {"Target organization", 170},
      {"Rosters", 50},
  }};
  return columns;
}

std::vector<RestoreRow> RestoreRows(const std::vector<BackupInfo>& backups) {
  std::vector<RestoreRow> rows;
  for (auto b = backups.rbegin(); b != backups.rend(); ++b) {
    RestoreRow row{b->name, {}, b->damage, BackupEvent(*b), b->putBack};
    // A damaged manifest may not tell its time or organization; the folder name then stands in.
    row.cells[0] = b->time.empty() ? b->name : b->time;
    row.cells[1] = b->organization;
    row.cells[2] = !b->damage.empty() ? "damaged" : std::to_string(b->files);
    // Marked in the list: made by a restore (so it undoes one), or put back already.
    if (!b->restoring.empty()) row.cells[0] += " (restore)";
    if (!b->putBack.empty()) row.cells[2] += ", put back";
    rows.push_back(std::move(row));
  }
  return rows;
}

std::string RestoreDetail(const RestoreRow& row) {
  if (row.damaged()) return "Damaged, so it cannot be put back: " + row.damage + ".";
  const std::string files = row.cells[2].substr(0, row.cells[2].find(','));
  return "Puts back the " + files + (files == "1" ? " roster" : " rosters") + " of " +
         row.cells[1] + " as they were before " + row.event + "." +
         (row.putBack.empty() ? "" : " It was put back on " + row.putBack + ".");
}

}  // namespace tovarin
