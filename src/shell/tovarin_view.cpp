#include "shell/tovarin_view.h"

#include <cstring>

#include "platform/paths.h"
#include "shell/settings.h"

namespace tovarin {

CTovarinView::CTovarinView(platform::SettingsStore& settings, ViewDialogs& dialogs,
                           FormControls& controls, int dialogBaseUnit)
    : teamLists(dialogBaseUnit), settings_(settings), dialogs_(dialogs), controls_(controls) {}

void CTovarinView::OnInitialUpdate() {
  RefreshControls();
  LoadSettings();
  ReloadTeamLists();
  RefreshControls();
}

void CTovarinView::RefreshControls() {
  controls_.SetRenamePath(renamePath);
  controls_.SetSourceOrgPath(sourceOrgPath);
  controls_.SetTargetOrgPath(targetOrgPath);
  controls_.SetUseFarm(useFarm);
  controls_.SetSourceLabel(sourceLabel());
  controls_.SetTargetLabel(targetLabel());
}

void CTovarinView::LoadSettings() {
  using namespace settings;
  auto text = [this](const char* name) {
    return settings_.ReadString(kFile, name).value_or(std::string());
  };
  auto number = [this](const char* name) { return settings_.ReadInt(kOption, name).value_or(1); };

  targetLocation.SetBaseDirectory(text(kBaseDir));
  targetLocation.SetDataDisk(text(kTgtDataDisk));
  targetLocation.SetOrganization(text(kTgtOrg));
  sourceLocation.SetBaseDirectory(text(kBaseDir));
  sourceLocation.SetDataDisk(text(kSrcDataDisk));
  sourceLocation.SetOrganization(text(kSrcOrg));
  renamePath = text(kRename);
  useFarm = number(kUseFarm);
  threeLetters = number(kThreeLetters);
  smartInitials = number(kSmartInitials);
  targetOrgPath = targetLocation.OrganizationPath();
  sourceOrgPath = sourceLocation.OrganizationPath();
}

void CTovarinView::SaveSettings() {
  using namespace settings;
  settings_.WriteString(kFile, kBaseDir, targetLocation.BaseDirectory());
  settings_.WriteString(kFile, kTgtDataDisk, targetLocation.DataDiskName());
  settings_.WriteString(kFile, kTgtOrg, targetLocation.OrganizationName());
  settings_.WriteString(kFile, kSrcDataDisk, sourceLocation.DataDiskName());
  settings_.WriteString(kFile, kSrcOrg, sourceLocation.OrganizationName());
  settings_.WriteString(kFile, kRename, renamePath);
  settings_.WriteInt(kOption, kUseFarm, useFarm);
  settings_.WriteInt(kOption, kThreeLetters, threeLetters);
  settings_.WriteInt(kOption, kSmartInitials, smartInitials);
}

void CTovarinView::ReloadTeamLists() {
  teamLists.Reload(targetOrgPath, sourceOrgPath, sourceFarmOrg,
                   [this](const std::string& message) { dialogs_.ShowMessage(message); });
  controls_.ShowLists(teamLists.targetList(), teamLists.sourceList());
}

void CTovarinView::ChooseOrganization(OrgLocation& location, std::string& orgPath) {
  orgPath = dialogs_.IdentifyOrganization(location) ? location.OrganizationPath() : std::string();
  ReloadTeamLists();
  RefreshControls();
}

void CTovarinView::OnTargetOrganization() { ChooseOrganization(targetLocation, targetOrgPath); }

void CTovarinView::OnSourceOrganization() { ChooseOrganization(sourceLocation, sourceOrgPath); }

void CTovarinView::ChooseRenameFile() {
  renamePath = dialogs_.ChooseFile(targetLocation.BaseDirectory() + "*.txt", "txt")
                   .value_or(std::string());
  RefreshControls();
}

void CTovarinView::SetBasePath() {
  const auto chosen =
      dialogs_.ChooseFile(targetLocation.BaseDirectory() + kSimulationExecutable, "exe");
  std::string base = platform::RootDirectory();
  if (chosen) {
    // The executable's name is cut off by its length, whatever file was chosen.
    const std::size_t cut = std::strlen(kSimulationExecutable);
    base = chosen->size() > cut ? chosen->substr(0, chosen->size() - cut) : std::string();
  }
  targetLocation.SetBaseDirectory(base);
  sourceLocation.SetBaseDirectory(base);
}

void CTovarinView::AfterPairing(bool refilled) {
  if (!refilled) return;
  controls_.ShowLists(teamLists.targetList(), teamLists.sourceList());
  RefreshControls();
}

void CTovarinView::OnMatch() { AfterPairing(teamLists.Match()); }
void CTovarinView::OnUnmatch() { AfterPairing(teamLists.Unmatch()); }
void CTovarinView::OnReset() { AfterPairing(teamLists.Reset()); }
void CTovarinView::OnDblclkSourceList() { OnMatch(); }
void CTovarinView::OnDblclkTargetList() { AfterPairing(teamLists.DoubleClickTarget()); }

BuildParams CTovarinView::MakeBuildParams() const {
  BuildParams params;
  params.targetDataDiskPath = targetLocation.DataDiskPath();
  params.targetOrganizationPath = targetLocation.OrganizationPath();
  params.targetDataDiskName = targetLocation.DataDiskName();
  params.targetOrgPath = targetOrgPath;
  params.sourceDataDiskPath = sourceLocation.DataDiskPath();
  params.sourceOrganizationPath = sourceLocation.OrganizationPath();
  params.renamePath = renamePath;
  params.useFarm = useFarm != 0;
  params.sourceFarmOrg = sourceFarmOrg;
  return params;
}

std::optional<BuildResult> CTovarinView::Build(bool dryRun, BuildObserver* observer) {
  for (const TeamEntry& team : targetTeams()) {
    if (team.gamesPlayed <= 0) continue;
    if (!dialogs_.AskYesNo(kGamesPlayedQuestion)) {
      // Given up exactly as when the target organization dialog is cancelled.
      targetOrgPath.clear();
      ReloadTeamLists();
      RefreshControls();
      return std::nullopt;
    }
    break;
  }
  BuildParams params = MakeBuildParams();
  params.dryRun = dryRun;
  BuildResult result = RunBuild(params, targetTeams(), observer);
  if (!result.ok) {
    dialogs_.ShowMessage(result.error);
  } else if (!dryRun) {
    SaveSettings();
    dialogs_.ShowMessage(kBuildCompleted);
  }
  return result;
}

void CTovarinView::OnBuild() { Build(false, nullptr); }

void CTovarinView::OnUseFarm() {
  useFarm = useFarm == 0 ? 1 : 0;
  RefreshControls();
}

}  // namespace tovarin
