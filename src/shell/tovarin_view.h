#pragma once

#include <optional>
#include <string>

#include "pairing/team_lists.h"
#include "platform/settings_store.h"
#include "shell/org_location.h"
#include "shell/tovarin_doc.h"
#include "shell/rename_check_model.h"
#include "shell/view_interfaces.h"
#include "transfer/build.h"
#include "transfer/review.h"

namespace tovarin {

// The form: all working state of the program and the commands that change it. The fields are
// the only truth; the screen shows them through FormControls and is never read back.
class CTovarinView {
 public:
  // Every file the form writes (rosters, backups, the rename file) goes through `writer`, which
  // must outlive it.
  CTovarinView(platform::SettingsStore& settings, ViewDialogs& dialogs, FormControls& controls,
               int sourceColumn,
               const platform::FileWriter& writer = platform::SystemFileWriter());

  // Fields.
  std::string renamePath;
  std::string sourceOrgPath;
  std::string targetOrgPath;
  int useFarm = 0;
  int sourceFarmOrg = 0;
  OrgLocation targetLocation;
  OrgLocation sourceLocation;
  int threeLetters = 1;
  int smartInitials = 1;
  TeamLists teamLists;  // targetTeams, sourceTeams, their list boxes and labels
  // Where each Build keeps the target rosters it replaces, for File > Restore Build.
  std::string backupDirectory;
  // The stored base directory could not be read, so the base directory is the default one,
  // which no Build or review may take for the user's until Set Base Path sets it.
  bool baseDirectoryUnread = false;

  TeamList& targetTeams() { return teamLists.targetTeams(); }
  TeamList& sourceTeams() { return teamLists.sourceTeams(); }
  const std::string& targetLabel() const { return teamLists.targetLabel(); }
  const std::string& sourceLabel() const { return teamLists.sourceLabel(); }

  // Start-up, and again when the document is re-initialised: settings, lists, controls.
  void OnInitialUpdate();
  // Once the window is shown at start-up: when no base path is stored, says that Set Base Path
  // comes first and, on OK, runs it.
  void GuideFirstStart();
  void RefreshControls();
  // Reads the stored setup, keeping what can be read; ReadProblem of the store then says what
  // could not be.
  void LoadSettings();
  // Writes the setup; false, with the message to show, when it could not be stored.
  bool SaveSettings(std::string* why = nullptr);
  // The form's setup, as a setup document keeps it, and that setup taken into the form, with
  // both team lists loaded anew.
  FormSetup CurrentSetup() const;
  void ApplySetup(const FormSetup& setup);
  // Why the setup cannot be stored as it stands: its base directory is one that could not be
  // read, or the source side's data disk is under another base directory than the target's (the
  // stored form holds one for both). Empty when it can.
  std::string UnstorableSetup() const;
  void ReloadTeamLists();

  // Carries out a command of the form's buttons or of the menu, by its id. False for the
  // commands that belong to the window (closing, the status bar, help, About, the document).
  bool OnCommand(int id);

  // Commands.
  void OnTargetOrganization();
  void OnSourceOrganization();
  void ChooseRenameFile();
  void SetBasePath();
  void OnUseFarm();
  void OnMatch();
  void OnUnmatch();
  void OnReset();
  void OnDblclkSourceList();
  void OnDblclkTargetList();

  // The Build: refuses without both organizations, asks once when a target team has played
  // games (No gives up the target organization) and, before a Build that would empty every
  // target roster, whether to go on; runs, then saves the setup and says it completed, or shows
  // the error.
  void OnBuild();
  // The same, with an observer and, for a dry run, without writing or saving anything; the
  // setup is saved only when `saveSetup`. The result is empty when the user answered No.
  std::optional<BuildResult> Build(bool dryRun, BuildObserver* observer, bool saveSetup = true);
  // Why a Build cannot start yet: "Choose a target organization first." or its source twin;
  // empty when both organizations are chosen.
  std::string MissingOrganization() const;
  BuildParams MakeBuildParams() const;
  const platform::FileWriter& writer() const { return writer_; }

  // What a Build on the current setup would do, with candidates for the players it would drop.
  // Nothing is written, so nothing is asked about games played. Without both organizations it
  // is not ok, with MissingOrganization() as its error.
  Review ReviewBuild() const;
  // Before Preview Build: shows why a review cannot be made, as a Build would, and says whether
  // it can.
  bool ReadyToReview();
  // File > Check Rename File: the check of the rename file against the setup's players and
  // teams; nothing, with the reason shown, when it cannot be made.
  std::optional<RenameCheckModel> CheckRenameFile();
  // Appends the best candidates of the chosen dropped players of `review` (by source player
  // number) to the rename file. Without a rename file it asks where to create one, which becomes the form's. Choices
  // that give no record are shown, the others written. True when the rename file was written.
  bool AddToRenameFile(const Review& review, const std::vector<int>& sourcePlayers);

  // Lists the kept backups, newest first, and puts back the target rosters of the one the user
  // chooses, after asking.
  void OnRestoreBuild();

 private:
  void ChooseOrganization(OrgLocation& location, std::string& orgPath, const char* title);
  // Why neither a Build nor a review can start: an unread base directory, or
  // MissingOrganization(); empty when they can.
  std::string Unready() const;
  // After a pairing command: shows the refilled lists and the fields, when it refilled them.
  void AfterPairing(bool refilled);

  platform::SettingsStore& settings_;
  ViewDialogs& dialogs_;
  FormControls& controls_;
  const platform::FileWriter& writer_;
};

extern const char* const kChooseTargetFirst;
extern const char* const kChooseSourceFirst;
extern const char* const kChooseRenameFileFirst;
extern const char* const kNothingPairedQuestion;
extern const char* const kSetupNotStored;
extern const char* const kBasePathUnread;
extern const char* const kFirstStartMessage;

// "Emptied (no source team): " and the target teams a Build emptied for want of a partner, as
// the user reads their names.
std::string EmptiedLine(const BuildResult& result);

// The simulation's executable, which Set Base Path asks the user to point at.
inline constexpr const char* kSimulationExecutable = "gstnd32.exe";

}  // namespace tovarin
