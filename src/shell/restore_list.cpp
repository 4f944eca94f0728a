#include "shell/restore_list.h"

#include <chrono>
#include <cstdio>

namespace tovarin {

std::span<const RestoreColumn> RestoreColumns() {
  static constexpr std::array<RestoreColumn, 3> columns = {{
      {"Build time", 90},
      {"Target organization", 170},
      {"Rosters", 50},
  }};
  return columns;
}

std::tm SystemCalendar(std::time_t moment) {
  std::tm local{};
  if (const std::tm* shown = std::localtime(&moment)) local = *shown;
  return local;
}

std::string LocalTimeText(const std::string& utc, const LocalCalendar& calendar) {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, end = 0;
  if (std::sscanf(utc.c_str(), "%4d-%2d-%2d %2d:%2d:%2d UTC%n", &year, &month, &day, &hour,
                  &minute, &second, &end) != 6 ||
      static_cast<std::size_t>(end) != utc.size()) {
    return utc;
  }
  using namespace std::chrono;
  const year_month_day date{std::chrono::year{year}, std::chrono::month{unsigned(month)},
                            std::chrono::day{unsigned(day)}};
  if (!date.ok()) return utc;
  const sys_seconds moment =
      sys_days{date} + hours{hour} + minutes{minute} + seconds{second};
  const std::tm local = calendar(system_clock::to_time_t(moment));
  char shown[32];
  if (std::strftime(shown, sizeof shown, "%Y-%m-%d %H:%M:%S", &local) == 0) return utc;
  return shown;
}

std::string RostersBefore(std::size_t files, const std::string& organization,
                          const std::string& event) {
  return "the " + std::to_string(files) + (files == 1 ? " roster" : " rosters") + " of " +
         organization + " as they were before " + event;
}

RestoreModel::RestoreModel(const std::vector<BackupInfo>& backups,
                           const LocalCalendar& calendar) {
  for (auto b = backups.rbegin(); b != backups.rend(); ++b) {
    BackupInfo shown = *b;
    shown.time = LocalTimeText(b->time, calendar);
    shown.putBack = LocalTimeText(b->putBack, calendar);
    RestoreRow row{b->name, {}, b->files, b->damage, BackupEvent(shown), shown.putBack};
    // A damaged manifest may not tell its time or organization; the folder name then stands in.
    row.cells[0] = b->time.empty() ? b->name : shown.time;
    row.cells[1] = b->organization;
    row.cells[2] = !b->damage.empty() ? "damaged" : std::to_string(b->files);
    // Marked in the list: made by a restore (so it undoes one), or put back already.
    if (!b->restoring.empty()) row.cells[0] += " (restore)";
    if (!b->putBack.empty()) row.cells[2] += ", put back";
    rows_.push_back(std::move(row));
  }
}

std::size_t RestoreModel::Preselected() const {
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    if (!rows_[i].damaged()) return i;
  }
  return 0;
}

bool RestoreModel::CanRestore(std::optional<std::size_t> selected) const {
  return selected && *selected < rows_.size() && !rows_[*selected].damaged();
}

std::string RestoreModel::Detail(std::optional<std::size_t> selected) const {
  if (!selected || *selected >= rows_.size()) return "";
  const RestoreRow& row = rows_[*selected];
  if (row.damaged()) return "Damaged, so it cannot be put back: " + row.damage + ".";
  return "Puts back " + RostersBefore(row.files, row.cells[1], row.event) + "." +
         (row.putBack.empty() ? "" : " It was put back on " + row.putBack + ".");
}

}  // namespace tovarin
