#include "pairing/team_lists.h"

#include "platform/format.h"
#include "simdata/record_file.h"

namespace tovarin {
namespace {

void ClearPartners(TeamList& list) {
  for (TeamEntry& entry : list) entry.partner = nullptr;
}

// Loads one side; on failure reports it, empties the side and its path.
void ReloadSide(TeamList& side, TeamList& other, std::string& path, int& farmOrg,
                const TeamLists::ErrorSink& showError, bool sideIsTarget) {
  ClearPartners(other);
  if (path.empty()) {
    side.clear();
    return;
  }
  try {
    LoadTeamList(side, path, farmOrg);
    if (sideIsTarget) {
      PairTeamsByName(side, other);
    } else {
      PairTeamsByName(other, side);
    }
  } catch (const RecordFileError& error) {
    side.clear();
    showError(error.what());
    path.clear();
  }
}

// The remembered row when the refilled box still has it, else the first row (none when empty).
int KeptSelection(int remembered, std::size_t rows) {
  if (remembered >= 0 && static_cast<std::size_t>(remembered) < rows) return remembered;
  return rows == 0 ? -1 : 0;
}

}  // namespace

std::string TargetRowText(const TeamEntry& t) {
  if (const TeamEntry* p = t.partner) {
    return platform::Format("%s  (%s %s)\t%s  (%s %s)", t.name.c_str(),
                            t.grandparentShortName.c_str(), t.parentShortName.c_str(),
                            p->shortName.c_str(), p->grandparentShortName.c_str(),
                            p->parentShortName.c_str());
  }
  return platform::Format("%s  (%s %s)", t.name.c_str(), t.grandparentShortName.c_str(),
                          t.parentShortName.c_str());
}

std::string SourceRowText(const TeamEntry& s) {
  return platform::Format("%s  (%s %s)", s.shortName.c_str(), s.grandparentShortName.c_str(),
                          s.parentShortName.c_str());
}

std::string TeamsLabel(std::size_t count) {
  return platform::Format("Teams - %d", static_cast<int>(count));
}

TeamLists::TeamLists(int sourceColumn) : sourceColumn_(sourceColumn) {}

void TeamLists::Reload(std::string& targetOrgPath, std::string& sourceOrgPath,
                       int& sourceFarmOrg, const ErrorSink& showError) {
  if (sourceOrgPath != previousSourcePath_) {
    ReloadSide(sourceTeams_, targetTeams_, sourceOrgPath, sourceFarmOrg, showError, false);
  }
  if (targetOrgPath != previousTargetPath_) {
    int targetFarmOrg = 0;  // the target's farm organization is not kept
    ReloadSide(targetTeams_, sourceTeams_, targetOrgPath, targetFarmOrg, showError, true);
  }
  FillTargetList();
  FillSourceList();
  previousSourcePath_ = sourceOrgPath;
  previousTargetPath_ = targetOrgPath;
}

void Unpair(TeamEntry& entry) {
  if (entry.partner) entry.partner->partner = nullptr;
  entry.partner = nullptr;
}

void Pair(TeamEntry& target, TeamEntry& source) {
  Unpair(target);
  Unpair(source);
  target.partner = &source;
  source.partner = &target;
}

bool TeamLists::Match() {
  TeamEntry* target = targetList_.SelectedEntry();
  TeamEntry* source = sourceList_.SelectedEntry();
  if (!target || !source) return false;
  if (!source->partner) Pair(*target, *source);
  // Past the last row there is no row to select; the refill then takes the first.
  ++targetList_.selected;
  FillTargetList();
  FillSourceList();
  return true;
}

bool TeamLists::Unmatch() {
  TeamEntry* target = targetList_.SelectedEntry();
  if (!target) return false;
  Unpair(*target);
  FillTargetList();
  FillSourceList();
  return true;
}

bool TeamLists::Reset() {
  for (TeamEntry& target : targetTeams_) Unpair(target);
  FillTargetList();
  FillSourceList();
  return true;
}

bool TeamLists::DoubleClickTarget() {
  const TeamEntry* target = targetList_.SelectedEntry();
  if (!target) return false;
  return target->partner ? Unmatch() : Match();
}

void TeamLists::FillTargetList() {
  const int remembered = targetList_.selected;
  targetList_.rows.clear();
  // The second stop, far past the list's edge, only ends the second column.
  targetList_.tabStops = {sourceColumn_, 480};
  for (TeamEntry& t : targetTeams_) targetList_.rows.push_back({TargetRowText(t), &t});
  targetList_.selected = KeptSelection(remembered, targetList_.rows.size());
  targetLabel_ = TeamsLabel(targetTeams_.size());
}

void TeamLists::FillSourceList() {
  const int remembered = sourceList_.selected;
  sourceList_.rows.clear();
  sourceList_.tabStops.clear();
  for (TeamEntry& s : sourceTeams_) {
    if (!s.partner) sourceList_.rows.push_back({SourceRowText(s), &s});
  }
  sourceList_.selected = KeptSelection(remembered, sourceList_.rows.size());
  sourceLabel_ = TeamsLabel(sourceTeams_.size());
}

}  // namespace tovarin
