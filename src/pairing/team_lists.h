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

  // `dialogBaseUnit` is the platform's horizontal dialog base unit; it places the target list's
  // second column.
  explicit TeamLists(int dialogBaseUnit);

  // Reloads each side whose directory changed since the last reload, source side first, then
  // refills both list boxes. A side that fails to load is reported through `showError`, and its
  // path is emptied so that the next choice loads again.
  void Reload(std::string& targetOrgPath, std::string& sourceOrgPath, int& sourceFarmOrg,
              const ErrorSink& showError);

  void FillTargetList();
  void FillSourceList();

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
  int dialogBaseUnit_;
  TeamList targetTeams_;
  TeamList sourceTeams_;
  ListBoxModel targetList_;
  ListBoxModel sourceList_;
  std::string targetLabel_;
  std::string sourceLabel_;
  std::string previousTargetPath_;
  std::string previousSourcePath_;
};

// The texts of the list rows and labels.
std::string TargetRowText(const TeamEntry& target);
std::string SourceRowText(const TeamEntry& source);
std::string TeamsLabel(std::size_t count);

}  // namespace tovarin
