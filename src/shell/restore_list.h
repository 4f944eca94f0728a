#pragma once

#include <array>
#include <ctime>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "shell/form_layout.h"
#include "transfer/backup.h"

namespace tovarin {

// A row of the Restore Build dialog's list. A damaged backup is listed too, marked, so that the
// user sees why it is not offered.
struct RestoreRow {
  std::string name;                 // the backup's folder name, which Restore takes
  std::array<std::string, 3> cells;  // under RestoreColumns(): time, organization, rosters
  std::size_t files = 0;            // the rosters it puts back
  std::string damage;               // why it cannot be put back; empty when it is whole
  std::string event;                // "the Build of TIME" or "the restore of TIME"
  std::string putBack;              // when it was last put back; empty when never
  bool damaged() const { return !damage.empty(); }
};

using RestoreColumn = layout::ListColumn;
std::span<const RestoreColumn> RestoreColumns();

// The broken-down local time of a moment; the system's time zone unless given another.
using LocalCalendar = std::function<std::tm(std::time_t)>;
std::tm SystemCalendar(std::time_t moment);

// A backup's time, "YYYY-MM-DD HH:MM:SS UTC", as the user's clock showed it: "YYYY-MM-DD
// HH:MM:SS". Any other text (an earlier version's local time) is kept as it is.
std::string LocalTimeText(const std::string& utc, const LocalCalendar& calendar);

// "the 3 rosters of ORG as they were before the Build of TIME": what putting back a backup does,
// as the window and tovarin-cli both say it.
std::string RostersBefore(std::size_t files, const std::string& organization,
                          const std::string& event);

// The Restore Build dialog's list and its rules, which both windows draw: one row per kept
// backup, newest first, its times local.
class RestoreModel {
 public:
  // `backups` as BackupStore::List gives them, oldest first.
  explicit RestoreModel(const std::vector<BackupInfo>& backups,
                        const LocalCalendar& calendar = SystemCalendar);

  const std::vector<RestoreRow>& rows() const { return rows_; }
  // The row selected as the dialog opens: the newest backup that can be put back, which a user
  // most likely wants, or else the first.
  std::size_t Preselected() const;
  // Whether Restore is offered with `selected` (nothing when no row is): only for a whole backup.
  // A double-click on a row chooses it whatever it is, and the form then says why a damaged one
  // cannot be put back.
  bool CanRestore(std::optional<std::size_t> selected) const;
  // The line under the list: what Restore would do, or why it cannot; empty without a selection.
  std::string Detail(std::optional<std::size_t> selected) const;

 private:
  std::vector<RestoreRow> rows_;
};

}  // namespace tovarin
