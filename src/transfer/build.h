#pragma once

#include <string>
#include <vector>

#include "pairing/team_list.h"
#include "platform/safe_file.h"
#include "simdata/player_file.h"
#include "transfer/matching.h"

namespace tovarin {

// What one Build works on: the two sides' paths as their organization locations give them.
struct BuildParams {
  std::string targetDataDiskPath;      // report, target Players.dat
  std::string targetOrganizationPath;  // target rosters
  std::string targetDataDiskName;      // name carried by every new roster entry, less ".WDD"
  std::string targetOrgPath;           // where the target team list was loaded from
  std::string sourceDataDiskPath;      // source Players.dat, farm rosters
  std::string sourceOrganizationPath;  // source rosters
  std::string renamePath;              // may be empty
  bool useFarm = false;
  int sourceFarmOrg = 0;
  bool dryRun = false;  // everything but writing: no roster, no report
  // Writes the rosters and the report; must outlive the Build.
  const platform::FileWriter* writer = &platform::SystemFileWriter();
};

// Where a player of a new roster comes from.
enum class RosterSource { kRenameFile, kRoster, kFarmRoster };

// A target player a roster receives.
struct RosterPlayer {
  int number = 0;
  PlayerName name;
  RosterSource from = RosterSource::kRoster;
  int sourcePlayer = 0;  // the roster entry's source player; 0 for a rename file assignment
};

// Follows a Build as it goes; every call is optional.
class BuildObserver {
 public:
  virtual ~BuildObserver() = default;
  // A near miss the report lists.
  virtual void OnNearMatch(const PlayerName& /*source*/, const PlayerName& /*target*/) {}
  // Both matching passes are done: the players of both sides and how they are paired.
  virtual void OnMatched(const std::vector<PlayerName>& /*source*/,
                         const std::vector<PlayerName>& /*target*/, const MatchState& /*state*/) {}
  // A roster entry of `partner` (or of its farm affiliate) that no target player takes, so that
  // `team` does not receive it. `sourcePlayer` may lie outside the source player file.
  virtual void OnDropped(const TeamEntry& /*team*/, const TeamEntry& /*partner*/,
                         RosterSource /*from*/, int /*sourcePlayer*/) {}
  // Called once, before the first roster is written, with every roster about to be replaced.
  // Returning false ends the Build there with `why` as its message, nothing written.
  virtual bool BeforeWritingRosters(const std::vector<std::string>& /*paths*/,
                                    std::string* /*why*/) {
    return true;
  }
  // A target roster, written (or, in a dry run, composed).
  virtual void OnRoster(const TeamEntry& /*team*/, const std::string& /*path*/,
                        const std::vector<RosterPlayer>& /*players*/) {}
};

struct BuildResult {
  bool ok = false;
  std::string error;  // the message to show when not ok
  std::string reportPath;
  bool reportCreated = false;  // the report was written whole
  std::string reportError;     // why it was not, when it was to be written
  int rostersWritten = 0;
  int playersCarried = 0;  // entries of the written rosters
  int playersDropped = 0;  // source roster entries without a target player
  int nearMatches = 0;
  // The names (Windows-1252, as the target list shows them) of the target teams without a
  // partner whose rosters it emptied, in list order.
  std::vector<std::string> emptied;
  // What did not go as asked though the Build completed, one message each, for the completion
  // message: the rename file could not be read, an old backup could not be removed, the setup
  // could not be stored.
  std::vector<std::string> notes;
  // With a rename file: its records, and those that pair or sign a player who ends up on a
  // roster.
  bool renameFile = false;
  int renameRecords = 0;
  int renameRecordsUsed = 0;
};

// The three lines asked before the rosters of a target organization with games played are
// replaced.
extern const char* const kGamesPlayedQuestion;
extern const char* const kBuildCompleted;

// What a completed Build tells the user: kBuildCompleted, then how many rosters it wrote, with a
// rename file how many of its records it used, and where the report is (or that it could not be
// created), then its notes.
std::string CompletedMessage(const BuildResult& result);

// "Rename file: U of N records used".
std::string RenameUseLine(const BuildResult& result);

// Carries the rosters of each target team's partner (and its farm affiliate) over to the target
// teams, matching players by name, and writes the report (also, as far as it got, when the Build
// fails; a report that cannot be written does not fail the Build). The games-played question and what
// follows a Build (saving the setup, the completion message) are the caller's.
BuildResult RunBuild(const BuildParams& params, const TeamList& targetTeams,
                     BuildObserver* observer = nullptr);

}  // namespace tovarin
