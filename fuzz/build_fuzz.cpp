// The whole Build on a small simulation tree made from the input: both organizations, both
// player files, the rename file and the source and farm rosters. RunBuild must write exactly what
// a literal run of the Build's steps predicts (every target roster, the report, the counts and
// whether it fails), must never leave anything else in the target organization, and, with its
// rosters backed up first, must be undone whole by putting the backup back.
//
// Input: piece 1 = flags, pieces 2 and 3 = target and source org.dat, pieces 4 and 5 = target and
// source Players.dat, piece 6 = rename file, then for each source team in list order its roster
// and its farm roster (an empty piece leaves that file missing).

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "harness/build_flags.h"
#include "harness/fuzz_support.h"
#include "harness/plain_reference.h"
#include "pairing/team_list.h"
#include "platform/case_blind.h"
#include "platform/format.h"
#include "platform/paths.h"
#include "simdata/player_file.h"
#include "simdata/record_file.h"
#include "simdata/roster_file.h"
#include "support/plain_matching.h"
#include "transfer/backup.h"
#include "transfer/build.h"
#include "transfer/report.h"

namespace fs = std::filesystem;

namespace tovarin::fuzz {
namespace {

constexpr std::size_t kMaxOrgFile = 16 * kOrgRecordSize;
constexpr std::size_t kMaxPlayersFile = 48 * kPlayerRecordSize;
constexpr std::size_t kMaxRenameFile = 2048;
constexpr std::size_t kMaxRoster = 1024;
constexpr std::size_t kMaxRosteredTeams = 6;

// `path` with its file name as the simulation tree spells it: in lower case when `lowerCase`, so
// that Tovarin must find (and replace) it without regard to case.
std::string CaseOnDisk(const std::string& path, bool lowerCase) {
  if (!lowerCase) return path;
  const std::size_t slash = path.find_last_of(platform::kSeparator);
  return path.substr(0, slash + 1) + platform::ToLower(path.substr(slash + 1));
}

// A roster that some target teams hold before the Build.
const std::string kOldRoster("\x01\x00\x78\x05\x03\x00OLD\x07\x00", 12);

std::string Encoded(const std::vector<int>& players) {
  RosterFile roster;
  roster.SetMarker(120, 5);
  roster.SetName("LEAGUE");
  for (int p : players) FUZZ_CHECK(roster.Append(p));
  return roster.Encode();
}

// The outcome of a Build as its steps, done literally one after the other, give it.
struct Prediction {
  bool ok = false;
  std::string errorStart;  // the failure message begins with this
  bool report = false;
  std::vector<std::string> reportLines;
  std::map<std::string, std::string> rosters;  // path -> bytes, for every roster written
  BuildResult counts;
};

struct SimulationTree {
  std::string root, targetDisk, targetOrg, sourceDisk, sourceOrg, renames;
  bool useFarm = false;
  int sourceFarmOrg = 0;

  BuildParams Params() const {
    BuildParams params;
    params.targetDataDiskPath = targetDisk;
    params.targetOrganizationPath = targetOrg;
    params.targetDataDiskName = "LEAGUE.WDD";
    params.targetOrgPath = targetOrg;
    params.sourceDataDiskPath = sourceDisk;
    params.sourceOrganizationPath = sourceOrg;
    params.renamePath = renames;
    params.useFarm = useFarm;
    params.sourceFarmOrg = sourceFarmOrg;
    return params;
  }
};

void Carry(const RosterFile& roster, const MatchState& state, std::vector<int>& list,
           BuildResult& counts) {
  for (int i = 0; i < roster.count(); ++i) {
    const int p = roster.entry(i).player;
    const int t = p >= 1 && static_cast<std::size_t>(p) < state.playerMap.size()
                      ? state.playerMap[static_cast<std::size_t>(p)]
                      : 0;
    if (t > 0) {
      list.push_back(t);
    } else {
      ++counts.playersDropped;
    }
  }
}

Prediction Predict(const SimulationTree& tree, const TeamList& teams, std::string_view renameFile) {
  Prediction p;
  int largest = 0;
  for (const TeamEntry& team : teams) {
    if (team.teamIndex < 0) {
      p.errorStart = "Team ";
      return p;
    }
    largest = std::max(largest, team.teamIndex);
  }
  p.report = true;
  const std::vector<PlayerName> target = LoadPlayerNames(tree.targetDisk + "Players.dat");
  const std::vector<PlayerName> source = LoadPlayerNames(tree.sourceDisk + "Players.dat");
  MatchState state = NewMatchState(source.size(), target.size());
  TeamPlayerLists lists(static_cast<std::size_t>(largest) + 1);
  RenamePassPlain(ReadRenamePlain(renameFile), source, target, teams, state, lists);
  p.reportLines.push_back(NearMatchHeader());
  fixture::AutomaticPassPlain(source, target, state, [&](int s, int t) {
    p.reportLines.push_back(NearMatchLine(source[static_cast<std::size_t>(s - 1)],
                                          target[static_cast<std::size_t>(t - 1)]));
    ++p.counts.nearMatches;
  });

  RosterFile read;
  for (const TeamEntry& team : teams) {
    std::vector<int>& list = lists[static_cast<std::size_t>(team.teamIndex)];
    if (const TeamEntry* partner = team.partner) {
      const std::string path = RosterPath(tree.sourceOrg, partner->teamId);
      if (read.Load(path) != RosterFile::LoadResult::kOk) {
        // Messages name a file as it is spelled on disk.
        p.errorStart = "Error while reading file : " + platform::ResolveCaseBlind(path);
        return p;
      }
      Carry(read, state, list, p.counts);
      if (tree.useFarm) {
        const std::string farm = FarmRosterPath(tree.sourceDisk, tree.sourceFarmOrg,
                                                partner->farmTeamId);
        switch (read.Load(farm)) {
          case RosterFile::LoadResult::kOk:
            Carry(read, state, list, p.counts);
            break;
          case RosterFile::LoadResult::kCannotOpen:
            break;
          case RosterFile::LoadResult::kMalformed:
            p.errorStart = "Error while reading file : " + platform::ResolveCaseBlind(farm);
            return p;
        }
      }
    }
    const std::string path = RosterPath(tree.targetOrg, team.teamId);
    if (list.size() > static_cast<std::size_t>(RosterFile::kMaxEntries)) {
      p.errorStart = "Error writing file " + platform::ResolveCaseBlind(path);
      return p;
    }
    p.rosters[path] = Encoded(list);
    ++p.counts.rostersWritten;
    p.counts.playersCarried += static_cast<int>(list.size());
  }
  p.reportLines.push_back(PlayerHeader());
  for (std::size_t s = 1; s <= source.size(); ++s) {
    p.reportLines.push_back(PlayerLine(static_cast<int>(s), state.playerMap[s], source[s - 1]));
  }
  p.ok = true;
  return p;
}

void CheckCounts(const BuildResult& got, const Prediction& want) {
  FUZZ_CHECK(got.ok == want.ok);
  FUZZ_CHECK(got.ok || got.error.rfind(want.errorStart, 0) == 0);
  FUZZ_CHECK(got.rostersWritten == want.counts.rostersWritten);
  FUZZ_CHECK(got.playersCarried == want.counts.playersCarried);
  FUZZ_CHECK(got.playersDropped == want.counts.playersDropped);
  FUZZ_CHECK(got.nearMatches == want.counts.nearMatches);
}

// Every file of the target organization (org.dat aside), by name.
std::map<std::string, std::string> TargetFiles(const SimulationTree& tree) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::directory_iterator(tree.targetOrg)) {
    const std::string name = entry.path().filename().string();
    if (name != "org.dat") files[name] = ReadFile(tree.targetOrg + name);
  }
  return files;
}

// Backs the rosters up as the form does before the first one is replaced.
class BackupRecorder : public BuildObserver {
 public:
  explicit BackupRecorder(const SimulationTree& tree) : tree_(tree) {}
  bool BeforeWritingRosters(const std::vector<std::string>& paths, std::string* why) override {
    FUZZ_CHECK(!called_);
    called_ = true;
    BackupStore store(BackupStore::DefaultRoot());
    FUZZ_CHECK(store.root().rfind(ScratchRoot(), 0) == 0);
    const bool made = store.Create(tree_.targetOrg, "LEAGUE.WDD_ORG00001", paths, why, &name_);
    FUZZ_CHECK(made);
    FUZZ_CHECK(name_.empty() == paths.empty());  // no rosters, no backup
    return made;
  }
  bool called() const { return called_; }
  // The backup made; empty when there was nothing to back up.
  const std::string& name() const { return name_; }

 private:
  const SimulationTree& tree_;
  bool called_ = false;
  std::string name_;
};

}  // namespace
}  // namespace tovarin::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tovarin;
  using namespace tovarin::fuzz;
  Pieces pieces(data, size);
  const std::string_view flagPiece = pieces.Next(1);
  const unsigned char flags = flagPiece.empty() ? 0 : static_cast<unsigned char>(flagPiece[0]);
  const std::string_view targetOrgFile = pieces.Next(kMaxOrgFile);
  const std::string_view sourceOrgFile = pieces.Next(kMaxOrgFile);
  const std::string_view targetPlayers = pieces.Next(kMaxPlayersFile);
  const std::string_view sourcePlayers = pieces.Next(kMaxPlayersFile);
  const std::string_view renameFile = pieces.Next(kMaxRenameFile);

  SimulationTree tree;
  tree.root = FreshDir("tree");
  tree.targetDisk = MakeDir(tree.root, "LEAGUE.WDD");
  tree.targetOrg = MakeDir(tree.root, "LEAGUE.WDD/ORG00001");
  tree.sourceDisk = MakeDir(tree.root, "SRC.WDD");
  tree.sourceOrg = MakeDir(tree.root, "SRC.WDD/ORG00001");
  tree.renames = tree.root + "renames.txt";
  tree.useFarm = flags & kUseFarm;
  WriteFile(tree.targetOrg + "org.dat", targetOrgFile);
  WriteFile(tree.sourceOrg + "org.dat", sourceOrgFile);
  const bool lower = flags & kLowerCaseFiles;
  WriteFile(CaseOnDisk(tree.targetDisk + "Players.dat", lower), targetPlayers);
  WriteFile(CaseOnDisk(tree.sourceDisk + "Players.dat", lower), sourcePlayers);
  WriteFile(tree.renames, renameFile);

  TeamList targetTeams, sourceTeams;
  int ignored = 0;
  LoadTeamList(targetTeams, tree.targetOrg, ignored);
  LoadTeamList(sourceTeams, tree.sourceOrg, tree.sourceFarmOrg);
  PairTeamsByName(targetTeams, sourceTeams);

  const bool farmFolder = !(flags & kNoFarmFolder);
  if (farmFolder) MakeDir(tree.sourceDisk, platform::Format("ORG%05d", tree.sourceFarmOrg));
  for (std::size_t i = 0; i < sourceTeams.size() && i < kMaxRosteredTeams; ++i) {
    const std::string_view roster = pieces.Next(kMaxRoster);
    if (!roster.empty()) {
      WriteFile(CaseOnDisk(RosterPath(tree.sourceOrg, sourceTeams[i].teamId), lower), roster);
    }
    const std::string_view farm = pieces.Next(kMaxRoster);
    if (!farm.empty() && farmFolder) {
      WriteFile(CaseOnDisk(FarmRosterPath(tree.sourceDisk, tree.sourceFarmOrg,
                                     sourceTeams[i].farmTeamId), lower),
                farm);
    }
  }
  // Every other target team has a roster already; the rest get their first one from the Build.
  for (std::size_t i = 0; i < targetTeams.size(); i += 2) {
    WriteFile(CaseOnDisk(RosterPath(tree.targetOrg, targetTeams[i].teamId), lower), kOldRoster);
  }

  const Prediction want = Predict(tree, targetTeams, renameFile);
  const std::map<std::string, std::string> before = TargetFiles(tree);
  const std::string reportPath = tree.targetDisk + "Tovarin.txt";

  BuildParams params = tree.Params();
  if (flags & kDryRunFirst) {
    params.dryRun = true;
    const BuildResult dry = RunBuild(params, targetTeams);
    CheckCounts(dry, want);
    FUZZ_CHECK(TargetFiles(tree) == before && !FileExists(reportPath));
    params.dryRun = false;
  }

  BackupRecorder backups(tree);
  const bool backUp = flags & kBackUp;
  const BuildResult got = RunBuild(params, targetTeams, backUp ? &backups : nullptr);
  CheckCounts(got, want);
  if (std::getenv("TOVARIN_FUZZ_VERBOSE")) {
    std::fprintf(stderr, "%s: %d rosters, %d players carried, %d dropped, %d near matches%s\n",
                 got.ok ? "built" : got.error.c_str(), got.rostersWritten, got.playersCarried,
                 got.playersDropped, got.nearMatches, backups.called() ? ", backed up" : "");
  }
  FUZZ_CHECK(got.reportPath == reportPath);
  FUZZ_CHECK(got.reportCreated == want.report && FileExists(reportPath) == want.report);
  if (want.report) {
    std::string report;
    for (const std::string& line : want.reportLines) report += line + "\r\n";
    FUZZ_CHECK(ReadFile(reportPath) == report);
  }

  // Each roster the Build got to is new, every other one as it was, and nothing else is there.
  std::map<std::string, std::string> after = before;
  for (const auto& [path, bytes] : want.rosters) {
    std::string name = fs::path(path).filename().string();
    for (const auto& [existing, old] : before) {
      if (platform::EqualsIgnoreCase(existing, name)) name = existing;
    }
    after[name] = bytes;
  }
  FUZZ_CHECK(TargetFiles(tree) == after);

  if (backUp && !backups.name().empty()) {
    BackupStore store(BackupStore::DefaultRoot());
    std::string why;
    FUZZ_CHECK(store.Restore(backups.name(), &why));
    FUZZ_CHECK(TargetFiles(tree) == before);
  }
  return 0;
}
