#pragma once

#include <functional>
#include <string>

#include "pairing/list_box.h"
#include "pairing/team_list.h"

namespace tovarin {

// The two team lists of the form, their list boxes and count labels, and the reload that keeps
// them in step with the chosen organization directories.
class TeamLists {
 public:
  using ErrorSink = std::function<void(const std::string& message)>;

  // `sourceColumn` places the target list's second column: its tab stop, in the form's dialog
  // units from the list's left edge.
  explicit TeamLists(int sourceColumn);

  // Reloads each side whose directory changed since the last reload, source side first, then
  // refills both list boxes. A side that fails to load is reported through `showError`, and its
  // path is emptied so that the next choice loads again.
  void Reload(std::string& targetOrgPath, std::string& sourceOrgPath, int& sourceFarmOrg,
              const ErrorSink& showError);

  void FillTargetList();
  void FillSourceList();

  // The pairing commands, on the selected rows of the two list boxes. Each returns whether it
  // refilled the lists; a command without the selection it needs does nothing at all.
  // Match pairs the selected target and source teams (replacing the target's earlier pair; a
  // source team that already has a partner changes nothing) and moves the target selection one
  // row down, back to the first row after the last.
  bool Match();
  // Undoes the selected target team's pair; refills also when it had none.
  bool Unmatch();
  // Undoes every pair.
  bool Reset();
  // A double-click in the target list: Unmatch for a paired team, else Match.
  bool DoubleClickTarget();

  TeamList& targetTeams() { return targetTeams_; }
  TeamList& sourceTeams() { return sourceTeams_; }
  const TeamList& targetTeams() const { return targetTeams_; }
  const TeamList& sourceTeams() const { return sourceTeams_; }
  ListBoxModel& targetList() { return targetList_; }
  ListBoxModel& sourceList() { return sourceList_; }
  const ListBoxModel& targetList() const { return targetList_; }
  const ListBoxModel& sourceList() const { return sourceList_; }
  const std::string& targetLabel() const { return targetLabel_; }
  const std::string& sourceLabel() const { return sourceLabel_; }

 private:
  int sourceColumn_;
  TeamList targetTeams_;
  TeamList sourceTeams_;
  ListBoxModel targetList_;
  ListBoxModel sourceList_;
  std::string targetLabel_;
  std::string sourceLabel_;
  std::string previousTargetPath_;
  std::string previousSourcePath_;
};

// Pairs `target` with `source`, undoing whatever pair either had before.
void Pair(TeamEntry& target, TeamEntry& source);
// Undoes the pair of `entry`, if any, on both sides.
void Unpair(TeamEntry& entry);

// The texts of the list rows and labels.
std::string TargetRowText(const TeamEntry& target);
std::string SourceRowText(const TeamEntry& source);
std::string TeamsLabel(std::size_t count);

}  // namespace tovarin
