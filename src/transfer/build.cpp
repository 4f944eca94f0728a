#include "transfer/build.h"

#include <algorithm>
#include <memory>

#include "platform/case_blind.h"
#include "platform/format.h"
#include "simdata/record_file.h"
#include "simdata/roster_file.h"
#include "transfer/matching.h"
#include "transfer/rename_file.h"
#include "transfer/report.h"

namespace tovarin {

const char* const kGamesPlayedQuestion =
    "Target Organization already has games played.\n"
    "Tovarin clears the rosters of the target teams.\n"
    "Are you sure you wish to continue?";
const char* const kBuildCompleted = "Build Completed Successfully!";

std::string CompletedMessage(const BuildResult& result) {
  std::string notes;
  for (const std::string& note : result.notes) notes += "\n" + note;
  return std::string(kBuildCompleted) + "\n" + std::to_string(result.rostersWritten) +
         (result.rostersWritten == 1 ? " target roster written.\n" : " target rosters written.\n") +
         (result.renameFile ? RenameUseLine(result) + "\n" : "") +
         (result.reportCreated ? "Report: " + platform::ResolveCaseBlind(result.reportPath)
                               : "The report could not be written: " +
                                     platform::ResolveCaseBlind(result.reportPath) + "\n" +
                                     result.reportError) +
         notes;
}

std::string RenameUseLine(const BuildResult& result) {
  return "Rename file: " + std::to_string(result.renameRecordsUsed) + " of " +
         std::to_string(result.renameRecords) + " records used";
}

namespace {

// The two marker bytes that open every roster entry the Build creates, as the simulation's own
// entries carry them.
constexpr unsigned char kNewEntryFirstMarker = 120;
constexpr unsigned char kNewEntrySecondMarker = 5;

BuildResult Failure(BuildResult result, const std::string& message) {
  result.ok = false;
  result.error = message;
  return result;
}

// Messages name a file as it is spelled on disk.
std::string ReadError(const std::string& path, const std::string& why) {
  return "Error while reading file : " + platform::ResolveCaseBlind(path) +
         (why.empty() ? "" : "\n" + why);
}

std::string WriteError(const std::string& path, const std::string& why) {
  return "Error writing file " + platform::ResolveCaseBlind(path) + (why.empty() ? "" : "\n" + why);
}

// Where each entry of a TeamPlayerList came from, in the list's order.
struct Origin {
  RosterSource from;
  int sourcePlayer;
};
using TeamOrigins = std::vector<std::vector<Origin>>;

// Appends the mapped players of `partner`'s roster to `list`. Entries outside the source player
// file, or without a target player, are dropped.
void CarryPlayers(const RosterFile& roster, RosterSource from, const TeamEntry& team,
                  const TeamEntry& partner, const MatchState& state, std::vector<int>& list,
                  std::vector<Origin>& origins, std::vector<char>& carried, BuildResult& result,
                  BuildObserver& watch) {
  for (int i = 0; i < roster.count(); ++i) {
    const int p = roster.entry(i).player;
    const int target = (p > 0 && static_cast<std::size_t>(p) < state.playerMap.size())
                           ? state.playerMap[static_cast<std::size_t>(p)]
                           : 0;
    if (target > 0) {
      list.push_back(target);
      origins.push_back({from, p});
      carried[static_cast<std::size_t>(p)] = 1;
    } else {
      ++result.playersDropped;
      watch.OnDropped(team, partner, from, p);
    }
  }
}

// A signing always reaches its team's roster. A pairing counts when its record is the last for
// its source player, the automatic pass left it, and the source player is on a roster.
void CountRenameUse(const std::vector<RenameEffect>& effects, const MatchState& state,
                    const std::vector<char>& carried, const std::string& renamePath,
                    BuildResult& result) {
  result.renameFile = !renamePath.empty();
  result.renameRecords = static_cast<int>(effects.size());
  std::vector<std::size_t> last(state.playerMap.size(), effects.size());
  for (std::size_t i = 0; i < effects.size(); ++i) {
    if (effects[i].kind == RenameEffect::kPairs) last[static_cast<std::size_t>(effects[i].source)] = i;
  }
  for (std::size_t i = 0; i < effects.size(); ++i) {
    const RenameEffect& e = effects[i];
    const auto s = static_cast<std::size_t>(e.source);
    if (e.kind == RenameEffect::kSigns ||
        (e.kind == RenameEffect::kPairs && last[s] == i && state.playerMap[s] == e.target &&
         carried[s])) {
      ++result.renameRecordsUsed;
    }
  }
}

// The Build itself; the report it writes into is put in place by the caller, also after a
// failure, with what the Build got to.
BuildResult BuildInto(BuildReport& report, const BuildParams& params,
                      const TeamList& targetTeams, BuildObserver* observer) {
  BuildObserver none;
  BuildObserver& watch = observer ? *observer : none;
  BuildResult result;
  result.reportPath = params.targetDataDiskPath + "Tovarin.txt";

  // A negative team index has no list in the per-team table; nothing is touched when one turns up.
  int largestIndex = 0;
  for (const TeamEntry& team : targetTeams) {
    if (team.teamIndex < 0) {
      return Failure(result, platform::Format(
                                 "Team %d (%s) has the team index %d, which is not valid, in %s",
                                 team.teamId, team.name.c_str(), team.teamIndex,
                                 platform::ResolveCaseBlind(params.targetOrgPath + "org.dat").c_str()));
    }
    largestIndex = std::max(largestIndex, team.teamIndex);
  }
  const std::string rosterName =
      params.targetDataDiskName.size() >= 4
          ? params.targetDataDiskName.substr(0, params.targetDataDiskName.size() - 4)
          : std::string();
  RosterFile written;
  if (!written.SetName(rosterName)) {
    return Failure(result,
                   platform::Format("The data disk name %s is too long for a roster file (at "
                                    "most %d characters before its extension).",
                                    params.targetDataDiskName.c_str(),
                                    static_cast<int>(RosterFile::kNameCapacity)));
  }
  written.SetMarker(kNewEntryFirstMarker, kNewEntrySecondMarker);
  TeamPlayerLists lists(static_cast<std::size_t>(largestIndex) + 1);

  if (!params.dryRun) {
    // What a killed Build left of its report; one that a running Build writes stays.
    if (!params.targetDataDiskPath.empty()) {
      platform::RemoveSafeWriteTemporaries(params.targetDataDiskPath, [](const std::string& of) {
        return platform::EqualsIgnoreCase(of, "Tovarin.txt");
      });
    }
    report.Create(result.reportPath, &result.reportError);
  }

  std::vector<PlayerName> targetPlayers;
  std::vector<PlayerName> sourcePlayers;
  try {
    targetPlayers = LoadPlayerNames(params.targetDataDiskPath + "Players.dat");
    sourcePlayers = LoadPlayerNames(params.sourceDataDiskPath + "Players.dat");
  } catch (const RecordFileError& error) {
    return Failure(result, error.what());
  }

  MatchState state = NewMatchState(sourcePlayers.size(), targetPlayers.size());
  std::vector<RenameEffect> renameEffects;
  {
    RenameReader renames(params.renamePath);
    renameEffects = RenamePass(renames, sourcePlayers, targetPlayers, targetTeams, state, lists);
    // The Build goes on without it, as without a rename file, but never silently.
    if (!renames.error().empty()) {
      result.notes.push_back(RenameFileUnreadable(params.renamePath, renames.error()));
    }
  }
  report.WriteLine(NearMatchHeader());
  AutomaticPass(sourcePlayers, targetPlayers, state, [&](int s, int t) {
    const PlayerName& source = sourcePlayers[static_cast<std::size_t>(s - 1)];
    const PlayerName& target = targetPlayers[static_cast<std::size_t>(t - 1)];
    report.WriteLine(NearMatchLine(source, target));
    ++result.nearMatches;
    watch.OnNearMatch(source, target);
  });
  watch.OnMatched(sourcePlayers, targetPlayers, state);
  TeamOrigins origins(lists.size());
  for (std::size_t i = 0; i < lists.size(); ++i) {
    origins[i].assign(lists[i].size(), Origin{RosterSource::kRenameFile, 0});
  }

  if (!params.dryRun) {
    std::vector<std::string> paths;
    for (const TeamEntry& team : targetTeams) {
      paths.push_back(RosterPath(params.targetOrganizationPath, team.teamId));
    }
    std::string why;
    if (!watch.BeforeWritingRosters(paths, &why)) {
      // Refused before any roster changed: the old report stays too.
      report.Discard();
      return Failure(result, why);
    }
  }

  std::vector<char> carried(sourcePlayers.size() + 1, 0);  // source players on a new roster
  RosterFile read;
  for (const TeamEntry& team : targetTeams) {
    std::vector<int>& list = lists[static_cast<std::size_t>(team.teamIndex)];
    std::vector<Origin>& from = origins[static_cast<std::size_t>(team.teamIndex)];
    if (const TeamEntry* partner = team.partner) {
      const std::string path = RosterPath(params.sourceOrganizationPath, partner->teamId);
      std::string why;
      switch (read.Load(path, &why)) {
        case RosterFile::LoadResult::kOk:
          break;
        case RosterFile::LoadResult::kCannotOpen:
          return Failure(result, ReadError(path, ""));
        case RosterFile::LoadResult::kMalformed:
          return Failure(result, ReadError(path, why));
      }
      CarryPlayers(read, RosterSource::kRoster, team, *partner, state, list, from, carried,
                   result, watch);
      if (params.useFarm) {
        const std::string farmPath = FarmRosterPath(params.sourceDataDiskPath,
                                                    params.sourceFarmOrg, partner->farmTeamId);
        switch (read.Load(farmPath, &why)) {
          case RosterFile::LoadResult::kOk:
            CarryPlayers(read, RosterSource::kFarmRoster, team, *partner, state, list, from,
                         carried, result, watch);
            break;
          case RosterFile::LoadResult::kCannotOpen:
            break;  // a team without a farm affiliate
          case RosterFile::LoadResult::kMalformed:
            return Failure(result, ReadError(farmPath, why));
        }
      }
    }

    const std::string path = RosterPath(params.targetOrganizationPath, team.teamId);
    written.Clear();
    std::vector<RosterPlayer> players;
    for (std::size_t i = 0; i < list.size(); ++i) {
      const int number = list[i];
      if (!written.Append(number)) {
        return Failure(result,
                       WriteError(path, written.count() >= RosterFile::kMaxEntries
                                            ? "The roster would hold more than 32767 players."
                                            : platform::Format("Player number %d does not fit "
                                                               "in a roster file.",
                                                               number)));
      }
      players.push_back({number, targetPlayers[static_cast<std::size_t>(number - 1)],
                         from[i].from, from[i].sourcePlayer});
    }
    std::string why;
    if (!params.dryRun && !written.Save(path, &why, *params.writer)) {
      return Failure(result, WriteError(path, why));
    }
    ++result.rostersWritten;
    result.playersCarried += written.count();
    if (!team.partner && written.count() == 0) result.emptied.push_back(team.name);
    watch.OnRoster(team, path, players);
  }

  CountRenameUse(renameEffects, state, carried, params.renamePath, result);
  report.WriteLine(PlayerHeader());
  for (std::size_t s = 1; s <= sourcePlayers.size(); ++s) {
    report.WriteLine(PlayerLine(static_cast<int>(s), state.playerMap[s], sourcePlayers[s - 1]));
  }
  result.ok = true;
  return result;
}

}  // namespace

BuildResult RunBuild(const BuildParams& params, const TeamList& targetTeams,
                     BuildObserver* observer) {
  BuildReport report(*params.writer);
  BuildResult result = BuildInto(report, params, targetTeams, observer);
  if (report.IsOpen()) {
    result.reportCreated = report.Commit(&result.reportError);
  }
  return result;
}

}  // namespace tovarin
