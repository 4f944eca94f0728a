#include "shell/tovarin_view.h"

#include <algorithm>

#include "platform/case_blind.h"
#include "platform/paths.h"
#include "shell/form_layout.h"
#include "shell/menu_layout.h"
#include "shell/restore_list.h"
#include "shell/settings.h"
#include "shell/sim_text.h"
#include "transfer/backup.h"
#include "transfer/write_lock.h"

namespace tovarin {

const char* const kChooseTargetFirst = "Choose a target organization first.";
const char* const kChooseSourceFirst = "Choose a source organization first.";
const char* const kChooseRenameFileFirst = "Choose a rename file first.";
const char* const kNothingPairedQuestion =
    "No target team is paired with a source team, so every target roster will be emptied. "
    "Continue?";
const char* const kSetupNotStored = "The setup could not be stored: ";
const char* const kBasePathUnread =
    "The base path could not be read from the stored setup; set it with File > Set Base Path "
    "first.";
const char* const kFirstStartMessage =
    "Tovarin needs to know where Grandstand is installed. Choose gstnd32.exe in the next "
    "window.";

CTovarinView::CTovarinView(platform::SettingsStore& settings, ViewDialogs& dialogs,
                           FormControls& controls, int sourceColumn,
                           const platform::FileWriter& writer)
    : teamLists(sourceColumn),
      backupDirectory(BackupStore::DefaultRoot()),
      settings_(settings),
      dialogs_(dialogs),
      controls_(controls),
      writer_(writer) {}

void CTovarinView::OnInitialUpdate() {
  RefreshControls();
  LoadSettings();
  // What cannot be read takes its default; the user is told once the form is up.
  if (const std::string problem = settings_.ReadProblem(); !problem.empty()) {
    dialogs_.ShowMessage(kSetupNotRead + problem, MessageKind::kError);
  }
  ReloadTeamLists();
  RefreshControls();
}

void CTovarinView::GuideFirstStart() {
  // Any stored base path counts, even the root that a Save after a cancelled choice writes.
  if (settings_.ReadString(settings::kFile, settings::kBaseDir).value_or("").empty() &&
      dialogs_.AskOkCancel(kFirstStartMessage)) {
    SetBasePath();
  }
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
  baseDirectoryUnread =
      !settings_.ReadString(kFile, kBaseDir) && !settings_.ReadProblem().empty();
}

std::string CTovarinView::UnstorableSetup() const {
  // Stored, the default that stands in for it would pass for the user's choice at every start.
  if (baseDirectoryUnread) {
    return "its base path could not be read; set it with File > Set Base Path first.";
  }
  // Without a data disk the source side's base directory is never read again.
  const std::string target = targetLocation.BaseDirectory();
  const std::string source = sourceLocation.BaseDirectory();
  if (target == source || sourceLocation.DataDiskName().empty()) return "";
  return "the target organization is under the base folder " + target +
         " and the source organization under " + source +
         ", but a stored setup holds one base folder for both.";
}

bool CTovarinView::SaveSettings(std::string* why) {
  using namespace settings;
  if (const std::string unstorable = UnstorableSetup(); !unstorable.empty()) {
    if (why) *why = kSetupNotStored + unstorable + "\n" + platform::kStoredBeforeKept;
    return false;
  }
  // A side whose organization could not be loaded shows none, and its organization is stored as
  // none: the next start must not open a league the form did not show.
  settings_.WriteString(kFile, kBaseDir, targetLocation.BaseDirectory());
  settings_.WriteString(kFile, kTgtDataDisk, targetLocation.DataDiskName());
  settings_.WriteString(kFile, kTgtOrg,
                        targetOrgPath.empty() ? "" : targetLocation.OrganizationName());
  settings_.WriteString(kFile, kSrcDataDisk, sourceLocation.DataDiskName());
  settings_.WriteString(kFile, kSrcOrg,
                        sourceOrgPath.empty() ? "" : sourceLocation.OrganizationName());
  settings_.WriteString(kFile, kRename, renamePath);
  settings_.WriteInt(kOption, kUseFarm, useFarm);
  settings_.WriteInt(kOption, kThreeLetters, threeLetters);
  settings_.WriteInt(kOption, kSmartInitials, smartInitials);
  std::string what;
  if (settings_.Commit(&what)) return true;
  if (why) *why = kSetupNotStored + what;
  return false;
}

FormSetup CTovarinView::CurrentSetup() const {
  FormSetup setup;
  setup.targetBase = targetLocation.BaseDirectory();
  setup.targetDataDisk = targetLocation.DataDiskName();
  setup.targetOrganization = targetOrgPath.empty() ? "" : targetLocation.OrganizationName();
  setup.sourceBase = sourceLocation.BaseDirectory();
  setup.sourceDataDisk = sourceLocation.DataDiskName();
  setup.sourceOrganization = sourceOrgPath.empty() ? "" : sourceLocation.OrganizationName();
  setup.renamePath = renamePath;
  setup.useFarm = useFarm;
  setup.threeLetters = threeLetters;
  setup.smartInitials = smartInitials;
  return setup;
}

void CTovarinView::ApplySetup(const FormSetup& setup) {
  targetLocation.SetBaseDirectory(setup.targetBase);
  targetLocation.SetDataDisk(setup.targetDataDisk);
  targetLocation.SetOrganization(setup.targetOrganization);
  sourceLocation.SetBaseDirectory(setup.sourceBase);
  sourceLocation.SetDataDisk(setup.sourceDataDisk);
  sourceLocation.SetOrganization(setup.sourceOrganization);
  baseDirectoryUnread = false;
  renamePath = setup.renamePath;
  useFarm = setup.useFarm;
  threeLetters = setup.threeLetters;
  smartInitials = setup.smartInitials;
  targetOrgPath = targetLocation.OrganizationPath();
  sourceOrgPath = sourceLocation.OrganizationPath();
  ReloadTeamLists();
  RefreshControls();
}

void CTovarinView::ReloadTeamLists() {
  teamLists.Reload(targetOrgPath, sourceOrgPath, sourceFarmOrg,
                   [this](const std::string& message) {
                     dialogs_.ShowMessage(message, MessageKind::kError);
                   });
  controls_.ShowLists(teamLists.targetList(), teamLists.sourceList());
}

void CTovarinView::ChooseOrganization(OrgLocation& location, std::string& orgPath,
                                      const char* title) {
  orgPath = dialogs_.IdentifyOrganization(location, title) ? location.OrganizationPath()
                                                           : std::string();
  ReloadTeamLists();
  RefreshControls();
}

void CTovarinView::OnTargetOrganization() {
  ChooseOrganization(targetLocation, targetOrgPath, layout::kIdentifyTargetTitle);
}

void CTovarinView::OnSourceOrganization() {
  ChooseOrganization(sourceLocation, sourceOrgPath, layout::kIdentifySourceTitle);
}

void CTovarinView::ChooseRenameFile() {
  renamePath = dialogs_
                   .ChooseFile(targetLocation.BaseDirectory() + "*.txt", "txt",
                               layout::RenameFilePicker())
                   .value_or(std::string());
  RefreshControls();
}

void CTovarinView::SetBasePath() {
  const auto chosen =
      dialogs_.ChooseFile(targetLocation.BaseDirectory() + kSimulationExecutable, "exe",
                          layout::SimulationPicker());
  if (!chosen) return;
  const std::string base = platform::DirectoryOf(*chosen);
  targetLocation.SetBaseDirectory(base.empty() ? platform::RootDirectory() : base);
  sourceLocation.SetBaseDirectory(base.empty() ? platform::RootDirectory() : base);
  baseDirectoryUnread = false;
  // The form shows at once the organizations the Build would now read and write, so that the
  // two never differ: a side that shows one follows the new base.
  if (!targetOrgPath.empty()) targetOrgPath = targetLocation.OrganizationPath();
  if (!sourceOrgPath.empty()) sourceOrgPath = sourceLocation.OrganizationPath();
  ReloadTeamLists();
  RefreshControls();
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
  params.targetDataDiskName =
      RosterDataDiskName(targetLocation).value_or(targetLocation.DataDiskName());
  params.targetOrgPath = targetOrgPath;
  params.sourceDataDiskPath = sourceLocation.DataDiskPath();
  params.sourceOrganizationPath = sourceLocation.OrganizationPath();
  params.renamePath = renamePath;
  params.useFarm = useFarm != 0;
  params.sourceFarmOrg = sourceFarmOrg;
  params.writer = &writer_;
  return params;
}

std::string EmptiedLine(const BuildResult& result) {
  std::string line = "Emptied (no source team): ";
  for (std::size_t i = 0; i < result.emptied.size(); ++i) {
    if (i > 0) line += ", ";
    line += DisplayText(result.emptied[i]);
  }
  return line;
}

namespace {

// Backs up the target rosters before the Build replaces the first of them, and passes
// everything on to the caller's observer.
class BackingUp : public BuildObserver {
 public:
  BackingUp(BuildObserver* next, BackupStore store, std::string organization,
            std::string label)
      : next_(next), store_(std::move(store)), organization_(std::move(organization)),
        label_(std::move(label)) {}

  void OnNearMatch(const PlayerName& source, const PlayerName& target) override {
    if (next_) next_->OnNearMatch(source, target);
  }
  bool BeforeWritingRosters(const std::vector<std::string>& paths, std::string* why) override {
    std::string reason;
    if (!store_.Create(organization_, label_, paths, &reason, &made_)) {
      *why = "The target rosters could not be backed up, so none was replaced.\n" + reason;
      return false;
    }
    return next_ ? next_->BeforeWritingRosters(paths, why) : true;
  }
  void OnRoster(const TeamEntry& team, const std::string& path,
                const std::vector<RosterPlayer>& players) override {
    replaced_.push_back(path);
    if (next_) next_->OnRoster(team, path, players);
  }
  // A Build is whole or nothing: one that failed after replacing rosters puts them back from
  // the backup it has just made. Only a Build that changed the league costs an old backup; one
  // that changed nothing leaves no backup of its own, which would only hide the previous
  // Build's at the top of Restore Build.
  void AfterBuild(BuildResult& result) {
    if (made_.empty()) return;
    if (result.ok && !replaced_.empty()) {
      store_.PruneOld(made_, &result.notes);
      return;
    }
    if (!result.ok && !replaced_.empty()) {
      std::string why;
      if (!store_.RestoreLocked(made_, &why)) {
        std::string rosters;
        for (const std::string& path : replaced_) rosters += "\n" + path;
        result.error += "\nThe Build stopped after replacing these rosters, which could not be "
                        "put back as they were:" + rosters + "\nRestore Build can put them back "
                        "from the backup " + made_ + ".\n" + why;
        return;
      }
      result.error += "\nThe Build stopped there, and the rosters it had replaced were put back "
                      "as they were, so no roster was changed.";
    }
    store_.Discard(made_);
  }

 private:
  BuildObserver* next_;
  BackupStore store_;
  std::string organization_;
  std::string label_;
  std::string made_;
  std::vector<std::string> replaced_;
};

}  // namespace

std::string CTovarinView::MissingOrganization() const {
  // Without an organization its paths are relative ones, which would read and write in
  // whatever folder the program happens to run in.
  auto chosen = [](const std::string& orgPath, const OrgLocation& location) {
    return !orgPath.empty() && !location.DataDiskName().empty() &&
           !location.OrganizationName().empty();
  };
  if (!chosen(targetOrgPath, targetLocation)) return kChooseTargetFirst;
  if (!chosen(sourceOrgPath, sourceLocation)) return kChooseSourceFirst;
  return "";
}

std::string CTovarinView::Unready() const {
  // First: the organizations missing may well be the ones the root does not hold.
  return baseDirectoryUnread ? kBasePathUnread : MissingOrganization();
}

std::optional<BuildResult> CTovarinView::Build(bool dryRun, BuildObserver* observer,
                                               bool saveSetup) {
  // A Build that cannot start, with its message shown.
  auto refuse = [this](const std::string& why) {
    dialogs_.ShowMessage(why, MessageKind::kError);
    BuildResult refused;
    refused.error = why;
    return refused;
  };
  std::string refusal = Unready();
  if (refusal.empty()) refusal = TargetFoldersMessage(targetLocation);
  // Twins on the source side would carry the players of whichever one the lookup meets first.
  if (refusal.empty()) refusal = CaseTwinsMessage(sourceLocation);
  if (!refusal.empty()) return refuse(refusal);
  for (const TeamEntry& team : targetTeams()) {
    if (team.gamesPlayed <= 0) continue;
    if (!dialogs_.AskYesNo(kGamesPlayedQuestion, ViewDialogs::Default::kYes)) {
      // Given up exactly as when the target organization dialog is cancelled.
      targetOrgPath.clear();
      ReloadTeamLists();
      RefreshControls();
      return std::nullopt;
    }
    break;
  }
  const bool anyPaired = std::any_of(targetTeams().begin(), targetTeams().end(),
                                     [](const TeamEntry& team) { return team.partner != nullptr; });
  if (!dryRun && !targetTeams().empty() && !anyPaired &&
      !dialogs_.AskYesNo(kNothingPairedQuestion, ViewDialogs::Default::kNo)) {
    return std::nullopt;
  }
  BuildParams params = MakeBuildParams();
  params.dryRun = dryRun;
  // Held to the end of the Build: a second Build of the organization writes nothing, not even
  // the report, and leaves this one's temporaries and unfinished backup alone.
  WriteLock lock;
  if (!dryRun && !params.targetOrganizationPath.empty()) {
    std::string why;
    if (!lock.LockOrganization(params.targetOrganizationPath, &why) ||
        !lock.LockBackups(backupDirectory, &why)) {
      return refuse(why);
    }
  }
  BackingUp backingUp(observer, BackupStore(backupDirectory, writer_),
                      targetLocation.OrganizationPath(),
                      targetLocation.DataDiskName() + "_" + targetLocation.OrganizationName());
  BuildResult result = RunBuild(params, targetTeams(), &backingUp);
  backingUp.AfterBuild(result);
  if (result.ok && !result.emptied.empty()) result.notes.push_back(EmptiedLine(result));
  if (!result.ok) {
    dialogs_.ShowMessage(result.error, MessageKind::kError);
  } else if (!dryRun) {
    std::string why;
    if (saveSetup && !SaveSettings(&why)) result.notes.push_back(why);
    dialogs_.ShowMessage(CompletedMessage(result), MessageKind::kDone);
  }
  return result;
}

void CTovarinView::OnBuild() { Build(false, nullptr); }

Review CTovarinView::ReviewBuild() const {
  if (std::string missing = Unready(); !missing.empty()) {
    Review refused;
    refused.error = std::move(missing);
    return refused;
  }
  return RunReview(MakeBuildParams(), teamLists.targetTeams());
}

bool CTovarinView::ReadyToReview() {
  const std::string missing = Unready();
  if (!missing.empty()) dialogs_.ShowMessage(missing, MessageKind::kError);
  return missing.empty();
}

std::optional<RenameCheckModel> CTovarinView::CheckRenameFile() {
  std::string refusal = Unready();
  if (refusal.empty() && renamePath.empty()) refusal = kChooseRenameFileFirst;
  if (refusal.empty()) {
    RenameCheckModel model = CheckRenames(MakeBuildParams(), teamLists.targetTeams());
    if (model.error.empty()) return model;
    refusal = model.error;
  }
  dialogs_.ShowMessage(refusal, MessageKind::kError);
  return std::nullopt;
}

bool CTovarinView::AddToRenameFile(const Review& review, const std::vector<int>& sourcePlayers) {
  // Each refusal on a line of its own, as the user reads the names.
  const auto lines = [](const Acceptance& accepted) {
    std::string text;
    for (const std::string& line : accepted.refused) {
      text += '\n';  // appended apart: GCC 12 at -O3 takes "\n" + a temporary for an overlap
      text += DisplayText(line);
    }
    return text;
  };
  const Acceptance acceptance = AcceptBest(review, sourcePlayers);
  const std::string refused = lines(acceptance);
  if (!refused.empty()) {
    dialogs_.ShowMessage("Not added to the rename file:" + refused, MessageKind::kError);
  }
  if (acceptance.records.empty()) return false;
  if (renamePath.empty()) {
    const std::string base = targetLocation.DataDiskPath().empty()
                                 ? targetLocation.BaseDirectory()
                                 : targetLocation.DataDiskPath();
    const auto chosen = dialogs_.ChooseNewFile(base + "renames.txt", "txt",
                                               layout::NewRenameFilePicker());
    if (!chosen) return false;
    renamePath = *chosen;
    RefreshControls();
  }
  // Chosen on a review made before the file was locked: under the lock, the same choice on the
  // file as it is then must give the same pairs, or another Tovarin has given one of their
  // target players to someone else in between.
  auto stillFree = [&](std::string* reason) {
    const Acceptance now = AcceptBest(ReviewBuild(), sourcePlayers);
    if (now.records == acceptance.records) return true;
    *reason = "The rename file " + platform::FileNameAsSpelled(renamePath) +
              " was changed while the pairs were chosen, so nothing was added; review again." +
              lines(now);
    return false;
  };
  std::string why;
  if (!AppendRenameRecords(renamePath, acceptance.records, &why, writer_, kRenameFilePatience,
                           stillFree)) {
    dialogs_.ShowMessage(why, MessageKind::kError);
    return false;
  }
  const std::size_t added = acceptance.records.size();
  dialogs_.ShowMessage(std::to_string(added) + (added == 1 ? " pair" : " pairs") +
                           " added to " + platform::FileNameAsSpelled(renamePath),
                       MessageKind::kInformation);
  return true;
}

void CTovarinView::OnRestoreBuild() {
  BackupStore store(backupDirectory, writer_);
  const RestoreModel backups(store.List());
  const std::vector<RestoreRow>& rows = backups.rows();
  if (rows.empty()) {
    dialogs_.ShowMessage("There is no Build to restore.", MessageKind::kError);
    return;
  }
  const std::optional<std::size_t> chosen = dialogs_.ChooseBackup(backups);
  if (!chosen || *chosen >= rows.size()) return;
  const RestoreRow& row = rows[*chosen];
  const std::string what = RostersBefore(row.files, row.cells[1], row.event);
  std::string why;
  if (row.damaged()) {
    store.Restore(row.name, &why);  // refuses, saying what is wrong with it
    dialogs_.ShowMessage(why, MessageKind::kError);
    return;
  }
  if (!dialogs_.AskYesNo("Put back " + what + "?", ViewDialogs::Default::kNo)) return;
  if (store.Restore(row.name, &why)) {
    dialogs_.ShowMessage("Put back " + what +
                             ".\nThe rosters it replaced are kept: Restore Build undoes it.",
                         MessageKind::kInformation);
  } else {
    dialogs_.ShowMessage(why, MessageKind::kError);
  }
}

bool CTovarinView::OnCommand(int id) {
  namespace c = layout::command;
  namespace f = layout::id;
  switch (id) {
    case f::kTargetOrganization: OnTargetOrganization(); return true;
    case f::kSourceOrganization: OnSourceOrganization(); return true;
    case f::kRenameFile: ChooseRenameFile(); return true;
    case f::kUseFarm: OnUseFarm(); return true;
    case f::kMatch: OnMatch(); return true;
    case f::kUnmatch: OnUnmatch(); return true;
    case f::kReset: OnReset(); return true;
    case f::kBuild: OnBuild(); return true;
    case c::kSetBasePath: SetBasePath(); return true;
    case c::kSaveSetup: {
      std::string why;
      if (!SaveSettings(&why)) dialogs_.ShowMessage(why, MessageKind::kError);
      return true;
    }
    case c::kRestoreBuild: OnRestoreBuild(); return true;
    default: return false;
  }
}

void CTovarinView::OnUseFarm() {
  useFarm = useFarm == 0 ? 1 : 0;
  RefreshControls();
}

}  // namespace tovarin
